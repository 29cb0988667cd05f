// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Marrowby Industries

#include "output/SaveCommand.h"

#include "output/FileDialog.h"
#include "output/FileError.h"
#include "output/TextFileForm.h"
#include "ui/MessageBox.h"

#include <QCoreApplication>
#include <QDir>

#include <algorithm>

namespace {
// Only the space character counts as blank here: a reply of tabs or line
// breaks is still saved.
bool onlySpaces(const QString &text)
{
    return std::all_of(text.cbegin(), text.cend(), [](QChar c) { return c == QLatin1Char(' '); });
}
} // namespace

SaveCommand::SaveCommand(QWidget *window, FileDialog *dialog)
    : m_window(window)
    , m_dialog(dialog)
{
}

void SaveCommand::run(const QString &response)
{
    if (onlySpaces(response)) {
        MessageBox::show(m_window, tr("There is nothing to save. Please query a domain."), tr("No info"),
                         MessageBox::Icon::Information);
        return;
    }

    m_dialog->setDialogTitle(tr("Save File as"));
    m_dialog->setInitDir(QDir::rootPath());
    m_dialog->showSave(m_window);
    const QString path = m_dialog->fileName();
    if (path.isEmpty())
        return;

    // A failed write must not cost the user the reply: say why and run on.
    try {
        TextFileForm::write(path, response);
    } catch (const FileError &e) {
        MessageBox::show(m_window,
                         tr("The reply could not be saved to %1.\r\n%2").arg(QDir::toNativeSeparators(e.path()), e.reason()),
                         {}, MessageBox::Icon::Critical);
    }
}
