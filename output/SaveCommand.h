#pragma once

#include <QCoreApplication>

class FileDialog;
class QPlainTextEdit;
class QWidget;

// "&Save Domain Info": writes the reply to a file the user names.
class SaveCommand
{
    Q_DECLARE_TR_FUNCTIONS(SaveCommand)

public:
    SaveCommand(QWidget *window, QPlainTextEdit *response, FileDialog *dialog);

    void run();

private:
    QWidget *m_window;
    QPlainTextEdit *m_response;
    FileDialog *m_dialog;
};
