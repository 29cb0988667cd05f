// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Marrowby Industries

#include "output/FileError.h"

FileError::FileError(const QString &path, const QString &reason)
    : std::runtime_error(QString(path + QLatin1String(": ") + reason).toStdString())
    , m_path(path)
    , m_reason(reason)
{
}

QString FileError::path() const
{
    return m_path;
}

QString FileError::reason() const
{
    return m_reason;
}
