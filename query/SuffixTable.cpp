// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Marrowby Industries

#include "query/SuffixTable.h"

#include <QFile>
#include <QRegularExpression>
#include <QStringList>

SuffixTable::SuffixTable(const QString &resource)
{
    QFile file(resource);
    if (!file.open(QIODevice::ReadOnly))
        return;
    static const QRegularExpression space(QStringLiteral("\\s+"));
    for (const QString &line : QString::fromUtf8(file.readAll()).split(u'\n')) {
        const QStringList fields = line.split(space, Qt::SkipEmptyParts);
        if (line.startsWith(u'#') || fields.size() < 2)
            continue;
        m_values.insert(fields[0].toLower(), fields[1]);
    }
}

QString SuffixTable::valueBelow(const QString &aceName) const
{
    const QString name = aceName.toLower();
    for (qsizetype dot = name.indexOf(u'.'); dot >= 0; dot = name.indexOf(u'.', dot + 1)) {
        const auto found = m_values.constFind(name.mid(dot + 1));
        if (found != m_values.constEnd())
            return *found;
    }
    return {};
}

QUrl SuffixTable::urlBelow(const QString &aceName) const
{
    const QString value = valueBelow(aceName);
    return value.isEmpty() ? QUrl() : QUrl(value);
}
