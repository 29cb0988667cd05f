// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Marrowby Industries

#pragma once

#include <QHash>
#include <QString>
#include <QUrl>

// A table built into the program that gives a value for a domain suffix:
// one line a suffix, its value, and where the entry was checked; lines
// starting with "#" are comments.
class SuffixTable
{
public:
    explicit SuffixTable(const QString &resource);

    // The value for the longest listed suffix that the name lies below, or
    // an empty text. The suffix itself is not below it: "uk.com" is a .com
    // name, not a name in uk.com.
    QString valueBelow(const QString &aceName) const;
    // The same value read as a URL; an invalid URL when none is listed.
    QUrl urlBelow(const QString &aceName) const;

private:
    QHash<QString, QString> m_values;
};
