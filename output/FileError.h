// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Marrowby Industries

#pragma once

#include <QString>

#include <stdexcept>

// A file that could not be written, with the path and the system's reason.
class FileError : public std::runtime_error
{
public:
    FileError(const QString &path, const QString &reason);

    QString path() const;
    QString reason() const;

private:
    QString m_path;
    QString m_reason;
};
