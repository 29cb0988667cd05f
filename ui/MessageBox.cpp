// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Marrowby Industries

#include "ui/MessageBox.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QMessageBox>

namespace {
bool s_preset = false;
QList<MessageBox::Shown> s_shown;

QMessageBox::Icon toQt(MessageBox::Icon icon)
{
    switch (icon) {
    case MessageBox::Icon::Information:
        return QMessageBox::Information;
    case MessageBox::Icon::Critical:
        return QMessageBox::Critical;
    case MessageBox::Icon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

// Closed by a fresh key, never by the repeats of one held since before it
// came: a held Esc that stopped a lookup would close the box reporting it
// before it could be read.
class FreshKeyBox : public QMessageBox
{
public:
    using QMessageBox::QMessageBox;

protected:
    void keyPressEvent(QKeyEvent *event) override
    {
        if (event->isAutoRepeat())
            event->accept();
        else
            QMessageBox::keyPressEvent(event);
    }
};
} // namespace

void MessageBox::show(QWidget *parent, const QString &prompt, const QString &title, Icon icon)
{
    const QString shownTitle = title.isEmpty() ? applicationTitle() : title;
    if (s_preset) {
        s_shown.append({prompt, shownTitle, icon});
        return;
    }

    // A label breaks lines at LF; the CR of a CR LF pair would show as a stray glyph.
    QString text = prompt;
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    FreshKeyBox box(toQt(icon), shownTitle, text, QMessageBox::Ok, parent);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

void MessageBox::setPresetAnswer(bool preset)
{
    s_preset = preset;
    s_shown.clear();
}

QList<MessageBox::Shown> MessageBox::takeShown()
{
    return std::exchange(s_shown, {});
}

QString MessageBox::applicationTitle()
{
    return QCoreApplication::applicationName();
}
