// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Marrowby Industries

#pragma once

#include <QCoreApplication>

class FileDialog;
class QString;
class QWidget;

// "&Save Domain Info": writes the reply to a file the user names.
class SaveCommand
{
    Q_DECLARE_TR_FUNCTIONS(SaveCommand)

public:
    SaveCommand(QWidget *window, FileDialog *dialog);

    // response: the reply as it stands in the box, edits included.
    void run(const QString &response);

private:
    QWidget *m_window;
    FileDialog *m_dialog;
};
