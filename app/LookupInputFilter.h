// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Marrowby Industries

#pragma once

#include <QObject>

// While it lives, the application takes no input but two requests: Esc,
// which asks for the lookup to stop, and closing a window, which is no
// input and passes; the program's end then ends the lookup's wait.
// Everything else the user types or clicks meanwhile is dropped, not held
// back for later, so nothing replays once the lookup is over. Painting and
// the network go on as usual.
class LookupInputFilter : public QObject
{
    Q_OBJECT

public:
    LookupInputFilter();
    ~LookupInputFilter() override;

    LookupInputFilter(const LookupInputFilter &) = delete;
    LookupInputFilter &operator=(const LookupInputFilter &) = delete;

signals:
    void stopRequested();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
};
