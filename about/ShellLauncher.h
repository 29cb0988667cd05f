// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Marrowby Industries

#pragma once

#include <QCoreApplication>
#include <QtGlobal>

class QString;

// Opens an address with the program the desktop associates with it: the web
// browser for a web address, the mail program for a "mailto:" one.
class ShellLauncher
{
    Q_DECLARE_TR_FUNCTIONS(ShellLauncher)

public:
    // Hands the address to the desktop's own opener and returns at once,
    // without waiting for the browser or mail program, with the opener's
    // status: 1 once something took the address. Throws Failure when
    // nothing could be started to take it.
    static qint32 open(const QString &address);
};
