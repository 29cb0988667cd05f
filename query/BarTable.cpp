// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Marrowby Industries

#include "query/BarTable.h"

#include <QFile>

QList<QStringList> BarTable::rows(const QString &resource, qsizetype minFields)
{
    QList<QStringList> rows;
    QFile file(resource);
    if (!file.open(QIODevice::ReadOnly))
        return rows;
    for (const QString &line : QString::fromUtf8(file.readAll()).split(u'\n')) {
        QStringList fields = line.split(u'|');
        if (line.startsWith(u'#') || fields.size() < minFields)
            continue;
        for (QString &field : fields)
            field = field.trimmed();
        rows.append(fields);
    }
    return rows;
}
