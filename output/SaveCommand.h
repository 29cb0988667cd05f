// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Marrowby Industries

#pragma once

#include <QCoreApplication>

class FileDialog;
class QWidget;
class ReplyBox;

// "&Save Domain Info": writes the reply to a file the user names.
class SaveCommand
{
    Q_DECLARE_TR_FUNCTIONS(SaveCommand)

public:
    SaveCommand(QWidget *window, ReplyBox *response, FileDialog *dialog);

    void run();

private:
    QWidget *m_window;
    ReplyBox *m_response;
    FileDialog *m_dialog;
};
