// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Marrowby Industries

#include "query/QueryForms.h"

#include <QFile>
#include <QHash>
#include <QStringList>

namespace {
QString kindName(NumberResource::Kind kind)
{
    switch (kind) {
    case NumberResource::Kind::None:
        return QStringLiteral("domain");
    case NumberResource::Kind::Address:
        return QStringLiteral("address");
    case NumberResource::Kind::Asn:
        return QStringLiteral("asn");
    }
    return {};
}

// "server kind" to the form, read once.
const QHash<QString, QString> &forms()
{
    static const QHash<QString, QString> table = [] {
        QHash<QString, QString> read;
        QFile file(QStringLiteral(":/query/query-forms.txt"));
        if (!file.open(QIODevice::ReadOnly))
            return read;
        for (const QString &line : QString::fromUtf8(file.readAll()).split(u'\n')) {
            const QStringList fields = line.split(u'|');
            if (line.startsWith(u'#') || fields.size() < 3)
                continue;
            read.insert(fields[0].trimmed().toLower() + u' ' + fields[1].trimmed(), fields[2].trimmed());
        }
        return read;
    }();
    return table;
}
} // namespace

QString QueryForms::query(const QString &server, NumberResource::Kind kind, const QString &value,
                          const QString &plainQuery)
{
    const QString form = forms().value(server.toLower() + u' ' + kindName(kind));
    return form.isEmpty() ? plainQuery : form.arg(value);
}
