// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Marrowby Industries

#include "query/SecondLevelRegistries.h"

#include <QFile>
#include <QHash>
#include <QRegularExpression>
#include <QStringList>

namespace {
const QHash<QString, QString> &servers()
{
    static const QHash<QString, QString> table = [] {
        QHash<QString, QString> read;
        QFile file(QStringLiteral(":/query/second-level-registries.txt"));
        if (!file.open(QIODevice::ReadOnly))
            return read;
        static const QRegularExpression space(QStringLiteral("\\s+"));
        for (const QString &line : QString::fromUtf8(file.readAll()).split(u'\n')) {
            const QStringList fields = line.split(space, Qt::SkipEmptyParts);
            if (line.startsWith(u'#') || fields.size() < 2)
                continue;
            read.insert(fields[0].toLower(), fields[1].toLower());
        }
        return read;
    }();
    return table;
}
} // namespace

QString SecondLevelRegistries::serverFor(const QString &aceName)
{
    const QString name = aceName.toLower();
    // Only names below the suffix: "uk.com" itself is a .com name.
    for (qsizetype dot = name.indexOf(u'.'); dot >= 0; dot = name.indexOf(u'.', dot + 1)) {
        const auto found = servers().constFind(name.mid(dot + 1));
        if (found != servers().constEnd())
            return *found;
    }
    return {};
}
