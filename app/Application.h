// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Marrowby Industries

#pragma once

#include <QApplication>

class Form1;

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

    // Runs the program until its window is closed or Exit is chosen, and
    // returns its exit status. A lookup running then is abandoned: the
    // process ends at once, without waiting for it.
    int run(const Form1 &form);
};
