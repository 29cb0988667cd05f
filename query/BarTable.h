// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Marrowby Industries

#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// A table built into the program, one row a line with its fields apart by
// "|" (the last one, as a rule, where the entry was checked); lines that
// start with "#" are comments.
class BarTable
{
public:
    // The rows of at least minFields fields, each field trimmed.
    static QList<QStringList> rows(const QString &resource, qsizetype minFields);
};
