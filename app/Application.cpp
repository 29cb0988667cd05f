// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Marrowby Industries

#include "app/Application.h"

#include "ui/Maker.h"
#include "ui/MessageBox.h"

#include <QFont>
#include <QIcon>

#include <cstdlib>
#include <exception>

namespace {
// The windows name the faces they were designed with; these look alike and
// are packaged for Debian.
void installFontSubstitutes()
{
    QFont::insertSubstitutions(QStringLiteral("MS Sans Serif"),
                               {QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")});
    QFont::insertSubstitutions(QStringLiteral("Arial"),
                               {QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")});
    QFont::insertSubstitutions(QStringLiteral("Courier New"),
                               {QStringLiteral("Liberation Mono"), QStringLiteral("DejaVu Sans Mono")});
    QFont::insertSubstitutions(QStringLiteral("Comic Sans MS"),
                               {QStringLiteral("Comic Neue"), QStringLiteral("DejaVu Sans")});
}
} // namespace

Application::Application(int &argc, char **argv)
    : QApplication(argc, argv)
{
    setApplicationName(QStringLiteral("Holdrin"));
    setApplicationVersion(QStringLiteral("1.0"));
    setOrganizationName(Maker::name());
    setOrganizationDomain(Maker::domain());
    // Small sizes for title bars, large ones for task switchers; the desktop
    // matches the windows to the installed menu entry by its file name.
    QIcon icon;
    for (int size : {32, 48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/holdrin-%1.png").arg(size), QSize(size, size));
    setWindowIcon(icon);
    setDesktopFileName(QStringLiteral("com.marrowby.Holdrin"));
    installFontSubstitutes();
}

bool Application::notify(QObject *receiver, QEvent *event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception &e) {
        reportUnhandled(QString::fromUtf8(e.what()));
    } catch (...) {
        reportUnhandled(tr("An unknown error occurred."));
    }
    return false;
}

void Application::reportUnhandled(const QString &description)
{
    MessageBox::show(activeModalWidget() ? activeModalWidget() : activeWindow(),
                     tr("Holdrin met an error it cannot recover from and will close.\r\n\r\n%1")
                         .arg(description),
                     {}, MessageBox::Icon::Critical);
    exit(EXIT_FAILURE);
}
