// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Marrowby Industries

#include "output/PrintCommand.h"

#include "output/FileError.h"
#include "output/Form2.h"
#include "output/TextFileForm.h"
#include "ui/MessageBox.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QStandardPaths>

#include <memory>

PrintCommand::PrintCommand(QWidget *window, const QString &applicationDir, const QString &fallbackDir)
    : m_window(window)
    , m_applicationDir(applicationDir)
    , m_fallbackDir(fallbackDir)
{
}

void PrintCommand::run(const QString &response)
{
    if (response.isEmpty()) {
        MessageBox::show(m_window, tr("There is nothing to print. Please query a domain."), tr("No info"),
                         MessageBox::Icon::Information);
        return;
    }

    const QString path = writePrintFile(response);
    if (path.isEmpty())
        return;

    {
        const auto form = std::make_unique<Form2>(path, m_window);
        form->exec();
    }

    // The window has closed; a file that will not go stays behind quietly.
    if (QFile::exists(path))
        QFile::remove(path);
}

// Returns the path written, or an empty text after telling the user why no
// place would take the file.
QString PrintCommand::writePrintFile(const QString &text)
{
    QStringList failures;
    const auto writeIn = [&](const QString &dir) {
        const QString path = QDir(dir).filePath(QLatin1String(FileName));
        try {
            TextFileForm::write(path, text);
            return path;
        } catch (const FileError &e) {
            failures << QDir::toNativeSeparators(e.path()) + QLatin1String(": ") + e.reason();
            return QString();
        }
    };

    QString path = writeIn(m_applicationDir);
    if (path.isEmpty()) {
        // Asked only now: the lookup creates the runtime folder when missing.
        const QString fallback = m_fallbackDir.isEmpty()
                                     ? QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation)
                                     : m_fallbackDir;
        if (!fallback.isEmpty())
            path = writeIn(fallback);
    }
    if (path.isEmpty()) {
        MessageBox::show(m_window,
                         tr("The reply could not be prepared for printing.") + QLatin1String("\r\n")
                             + failures.join(QLatin1String("\r\n")),
                         {}, MessageBox::Icon::Critical);
    }
    return path;
}
