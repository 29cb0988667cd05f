// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Marrowby Industries

#pragma once

#include <QCoreApplication>
#include <QString>

class QWidget;

// "&Print Domain Info": hands the reply to the print window through the
// temporary print file and removes that file once the window has closed.
class PrintCommand
{
    Q_DECLARE_TR_FUNCTIONS(PrintCommand)

public:
    static constexpr const char *FileName = "Tempfile.txt";

    // The print file goes in applicationDir; where that cannot be written
    // (an install under /usr/bin, say), in fallbackDir, by default the
    // user's runtime folder, which only that user can write.
    PrintCommand(QWidget *window, const QString &applicationDir, const QString &fallbackDir = {});

    // response: the reply as it stands in the box, edits included.
    void run(const QString &response);

private:
    QString writePrintFile(const QString &text);

    QWidget *m_window;
    QString m_applicationDir;
    QString m_fallbackDir;
};
