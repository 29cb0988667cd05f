// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Marrowby Industries

#pragma once

#include <QEvent>
#include <QObject>

class QWidget;

// Counts the paints of a widget, to make sure a timed step did paint.
class PaintCounter : public QObject
{
public:
    int paints = 0;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};

// Shows a window and waits until it is exposed and painted once.
void putUp(QWidget &window);
