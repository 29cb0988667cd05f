// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Marrowby Industries

#include "about/ShellLauncher.h"

#include "common/Failure.h"

#include <QDesktopServices>
#include <QUrl>

qint32 ShellLauncher::open(const QString &address)
{
    // Qt asks the desktop the way the desktop wants to be asked: xdg-open or
    // its own tool on a plain desktop, the OpenURI portal inside Flatpak or
    // Snap. It says false only when none of them could be started; whatever
    // the opener then makes of the address is its own affair.
    if (!QDesktopServices::openUrl(QUrl(address, QUrl::StrictMode))) {
        throw Failure(tr("No program of the desktop could be started to open %1.").arg(address));
    }
    return 1;
}
