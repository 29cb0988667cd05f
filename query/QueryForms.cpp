// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Marrowby Industries

#include "query/QueryForms.h"

#include "query/BarTable.h"

#include <QHash>

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
        for (const QStringList &row : BarTable::rows(QStringLiteral(":/query/query-forms.txt"), 3))
            read.insert(row[0].toLower() + u' ' + row[1], row[2]);
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
