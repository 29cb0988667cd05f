// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Marrowby Industries

#include "OnScreen.h"

#include <QCoreApplication>
#include <QWidget>
#include <QWindow>

void putUp(QWidget &window)
{
    window.show();
    while (!window.windowHandle()->isExposed())
        QCoreApplication::processEvents();
    window.repaint();
    QCoreApplication::processEvents();
}
