// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Marrowby Industries

#pragma once

#include <QObject>
#include <QString>

#include <optional>

class QWidget;

// The save dialog the main window keeps for the whole run. Tests answer it
// through a preset reply instead of a real modal dialog.
class FileDialog : public QObject
{
    Q_OBJECT

public:
    explicit FileDialog(QObject *parent = nullptr);

    void setDialogTitle(const QString &title);
    QString dialogTitle() const;
    void setInitDir(const QString &dir);
    QString initDir() const;

    // Modal; afterwards fileName() holds the confirmed path, or an empty
    // text when the user cancelled, whatever an earlier run confirmed.
    void showSave(QWidget *parent);
    QString fileName() const;

    // A preset reply answers every showSave() at once: a path confirms it,
    // an empty text cancels. std::nullopt brings the real dialog back.
    static void setPresetReply(std::optional<QString> reply);
    static int presetShowCount();

private:
    QString m_title;
    QString m_initDir;
    QString m_fileName;
};
