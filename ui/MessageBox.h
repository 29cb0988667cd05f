// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Marrowby Industries

#pragma once

#include <QList>
#include <QString>

class QWidget;

// Every message box of the program goes through here, so tests can read
// what would have been shown and answer it without a real modal loop.
class MessageBox
{
public:
    enum class Icon { None, Information, Critical };

    struct Shown {
        QString prompt;
        QString title;
        Icon icon;
    };

    // Shows a modal box with the OK button only. A box with an empty title
    // carries the application's title.
    static void show(QWidget *parent, const QString &prompt, const QString &title = {},
                     Icon icon = Icon::None);

    // With a preset answer, boxes are recorded and answered OK at once
    // instead of being shown.
    static void setPresetAnswer(bool preset);
    static QList<Shown> takeShown();

    static QString applicationTitle();
};
