// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Marrowby Industries

#include "output/FileDialog.h"

#include <QFileDialog>

namespace {
std::optional<QString> s_presetReply;
int s_presetShows = 0;
} // namespace

FileDialog::FileDialog(QObject *parent)
    : QObject(parent)
{
}

void FileDialog::setDialogTitle(const QString &title)
{
    m_title = title;
}

QString FileDialog::dialogTitle() const
{
    return m_title;
}

void FileDialog::setInitDir(const QString &dir)
{
    m_initDir = dir;
}

QString FileDialog::initDir() const
{
    return m_initDir;
}

void FileDialog::showSave(QWidget *parent)
{
    m_fileName.clear();
    if (s_presetReply) {
        ++s_presetShows;
        m_fileName = *s_presetReply;
        return;
    }

    // No filter and no default suffix: the name is taken as typed.
    QFileDialog dialog(parent, m_title, m_initDir);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty())
        m_fileName = dialog.selectedFiles().constFirst();
}

QString FileDialog::fileName() const
{
    return m_fileName;
}

void FileDialog::setPresetReply(std::optional<QString> reply)
{
    s_presetReply = std::move(reply);
    s_presetShows = 0;
}

int FileDialog::presetShowCount()
{
    return s_presetShows;
}
