// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Marrowby Industries

#include "about/LinkLabel.h"

#include "about/AccessibleLink.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>

LinkLabel::LinkLabel(const QString &text, QWidget *parent)
    : QLabel(parent)
{
    // Qt keeps the first accessible interface it makes for a widget, and
    // setting the text asks for one: by then Qt must know this class.
    AccessibleLink::installFactory();
    setTextFormat(Qt::PlainText);
    setText(text);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::TabFocus);
}

void LinkLabel::click()
{
    emit clicked();
}

void LinkLabel::mousePressEvent(QMouseEvent *event)
{
    m_pressed = event->button() == Qt::LeftButton;
    event->accept();
}

void LinkLabel::mouseReleaseEvent(QMouseEvent *event)
{
    // Like a button: letting go outside the label takes the click back.
    const bool pressed = m_pressed && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
    m_pressed = false;
    event->accept();
    if (pressed)
        click();
}

void LinkLabel::keyPressEvent(QKeyEvent *event)
{
    // Enter stays unaccepted and goes on to the window's default button, as
    // it does from any other control.
    if (event->key() == Qt::Key_Space && event->modifiers() == Qt::NoModifier) {
        event->accept();
        click();
        return;
    }
    QLabel::keyPressEvent(event);
}

// A label does not repaint when the focus comes or goes; the mark below does.
void LinkLabel::focusInEvent(QFocusEvent *event)
{
    QLabel::focusInEvent(event);
    update();
}

void LinkLabel::focusOutEvent(QFocusEvent *event)
{
    QLabel::focusOutEvent(event);
    update();
}

void LinkLabel::paintEvent(QPaintEvent *event)
{
    QLabel::paintEvent(event);
    if (!hasFocus())
        return;
    // A label draws no focus of its own, and the style's faint one is lost
    // on a dark window: a dotted frame in the text's colour marks the text
    // the keys will press.
    const QRect text = style()->itemTextRect(fontMetrics(), contentsRect(), int(alignment()), true, this->text());
    QPainter painter(this);
    painter.setPen(QPen(palette().color(QPalette::WindowText), 1, Qt::DotLine));
    painter.drawRect(text.adjusted(-1, -1, 1, 1).intersected(rect()).adjusted(0, 0, -1, -1));
}
