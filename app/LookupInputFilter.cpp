// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Marrowby Industries

#include "app/LookupInputFilter.h"

#include <QApplication>
#include <QKeyEvent>

LookupInputFilter::LookupInputFilter()
{
    QCoreApplication::instance()->installEventFilter(this);
}

LookupInputFilter::~LookupInputFilter()
{
    QCoreApplication::instance()->removeEventFilter(this);
}

bool LookupInputFilter::eventFilter(QObject *, QEvent *event)
{
    // A box put up meanwhile, such as the report of a failure no command
    // handles, takes its input as usual.
    if (QApplication::activeModalWidget())
        return false;
    switch (event->type()) {
    // Shortcuts are matched before the key reaches any widget, so Esc is
    // caught at the first of the two, and would otherwise press Exit.
    case QEvent::ShortcutOverride:
    case QEvent::KeyPress:
        if (static_cast<QKeyEvent *>(event)->key() == Qt::Key_Escape)
            emit stopRequested();
        return true;
    case QEvent::Shortcut:
    case QEvent::KeyRelease:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::NonClientAreaMouseButtonPress:
    case QEvent::NonClientAreaMouseButtonRelease:
    case QEvent::NonClientAreaMouseButtonDblClick:
    case QEvent::NonClientAreaMouseMove:
    case QEvent::Wheel:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::TouchCancel:
    case QEvent::TabletPress:
    case QEvent::TabletRelease:
    case QEvent::TabletMove:
    case QEvent::ContextMenu:
    case QEvent::InputMethod:
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::Drop:
        return true;
    default:
        return false;
    }
}
