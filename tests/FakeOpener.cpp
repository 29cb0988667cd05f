// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Marrowby Industries

#include "FakeOpener.h"

#include <QDesktopServices>
#include <QFile>
#include <QUrl>

namespace {
const QString Schemes[] = {QStringLiteral("https"), QStringLiteral("mailto")};
// What the desktop's opener is looked up by when no handler takes an address.
const char *const OpenerVariables[] = {"PATH", "BROWSER", "DEFAULT_BROWSER"};
} // namespace

FakeOpener::FakeOpener(Kind kind)
{
    if (kind == Kind::Recording) {
        for (const QString &scheme : Schemes)
            QDesktopServices::setUrlHandler(scheme, this, "open");
        return;
    }
    for (const char *name : OpenerVariables) {
        if (qEnvironmentVariableIsSet(name))
            m_savedEnvironment.append({name, qgetenv(name)});
        qunsetenv(name);
    }
    qputenv("PATH", QFile::encodeName(m_emptyPath.path()));
}

FakeOpener::~FakeOpener()
{
    for (const QString &scheme : Schemes)
        QDesktopServices::unsetUrlHandler(scheme);
    for (const auto &[name, value] : m_savedEnvironment)
        qputenv(name.constData(), value);
}

void FakeOpener::open(const QUrl &url)
{
    m_addresses.append(url.toString());
}
