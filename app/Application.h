// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Marrowby Industries

#pragma once

#include <QApplication>

// The program's QApplication: its name, the font faces its windows ask for,
// and the last resort for a failure that no command handles.
class Application : public QApplication
{
    Q_OBJECT

public:
    Application(int &argc, char **argv);

    // A failure that escapes a command is reported in a box, then every
    // running event loop ends and the program with it.
    bool notify(QObject *receiver, QEvent *event) override;

    static void reportUnhandled(const QString &description);
};
