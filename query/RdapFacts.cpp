// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Marrowby Industries

#include "query/RdapFacts.h"

#include "query/EppStatus.h"
#include "query/RegistryDate.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {
// Entities nest (a registrar holds its abuse contact); real records go two
// deep, so this only guards against hostile ones.
constexpr int MaxEntityDepth = 4;

// A string too long to be a fact gives none, as in a WHOIS reply.
QString bounded(const QString &value)
{
    return value.size() > RecordFacts::MaxValueLength ? QString() : value;
}

QString text(const QJsonObject &object, const char *key)
{
    return bounded(object.value(QLatin1String(key)).toString().trimmed());
}

QJsonArray list(const QJsonObject &object, const char *key)
{
    return object.value(QLatin1String(key)).toArray();
}

bool hasRole(const QJsonObject &entity, QLatin1String role)
{
    for (const QJsonValue &each : list(entity, "roles"))
        if (each.toString().compare(role, Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

// The text of the first jCard property of that name (RFC 7095), a "tel:"
// or "mailto:" URI without its scheme; fax numbers are no phone.
QString vcardValue(const QJsonObject &entity, QLatin1String property)
{
    const QJsonArray card = entity.value(QLatin1String("vcardArray")).toArray().at(1).toArray();
    for (const QJsonValue &each : card) {
        const QJsonArray item = each.toArray();
        if (item.at(0).toString().compare(property, Qt::CaseInsensitive) != 0)
            continue;
        const QJsonValue type = item.at(1).toObject().value(QLatin1String("type"));
        if (type.toString().compare(QLatin1String("fax"), Qt::CaseInsensitive) == 0
            || type.toArray().contains(QJsonValue(QStringLiteral("fax"))))
            continue;
        QString value = bounded(item.at(3).toString().trimmed());
        for (const QLatin1String scheme : {QLatin1String("tel:"), QLatin1String("mailto:")})
            if (value.startsWith(scheme, Qt::CaseInsensitive))
                value = value.mid(scheme.size());
        if (!value.isEmpty())
            return value;
    }
    return {};
}

// The first entity with the role, breadth first, so the registrar's own
// abuse contact comes before one further down.
QJsonObject findEntity(const QJsonArray &entities, QLatin1String role, int depth = 0)
{
    for (const QJsonValue &each : entities)
        if (hasRole(each.toObject(), role))
            return each.toObject();
    if (depth >= MaxEntityDepth)
        return {};
    for (const QJsonValue &each : entities) {
        const QJsonObject found = findEntity(list(each.toObject(), "entities"), role, depth + 1);
        if (!found.isEmpty())
            return found;
    }
    return {};
}

void readEvents(const QJsonObject &record, RecordFacts *facts)
{
    for (const QJsonValue &each : list(record, "events")) {
        const QJsonObject event = each.toObject();
        const QString action = text(event, "eventAction").toLower();
        const QDate date = RegistryDate::read(text(event, "eventDate"));
        QDate *field = nullptr;
        if (action == QLatin1String("registration"))
            field = &facts->created;
        else if (action == QLatin1String("last changed"))
            field = &facts->updated;
        else if (action == QLatin1String("expiration"))
            field = &facts->expires;
        else if (action == QLatin1String("registrar expiration"))
            field = &facts->registrarExpires;
        if (field && !field->isValid())
            *field = date;
    }
}

void readDomain(const QJsonObject &record, RecordFacts *facts)
{
    facts->domain = text(record, "ldhName");
    facts->unicodeName = text(record, "unicodeName");
    readEvents(record, facts);
    for (const QJsonValue &each : list(record, "status")) {
        const QString code = EppStatus::fromRdap(each.toString());
        if (!code.isEmpty() && !facts->statuses.contains(code))
            facts->statuses << code;
    }
    for (const QJsonValue &each : list(record, "nameservers"))
        facts->addNameServer(text(each.toObject(), "ldhName"));
    const QJsonValue signedFlag =
        record.value(QLatin1String("secureDNS")).toObject().value(QLatin1String("delegationSigned"));
    if (signedFlag.isBool())
        facts->dnssecSigned = signedFlag.toBool();

    const QJsonObject registrar = findEntity(list(record, "entities"), QLatin1String("registrar"));
    facts->registrar = vcardValue(registrar, QLatin1String("fn"));
    for (const QJsonValue &each : list(registrar, "publicIds")) {
        const QJsonObject id = each.toObject();
        if (text(id, "type").compare(QLatin1String("IANA Registrar ID"), Qt::CaseInsensitive) == 0)
            facts->ianaId = text(id, "identifier");
    }
}

void readNetwork(const QJsonObject &record, RecordFacts *facts)
{
    const QString start = text(record, "startAddress");
    const QString end = text(record, "endAddress");
    if (!start.isEmpty() && !end.isEmpty())
        facts->range = start + QLatin1String(" - ") + end;
    // The CIDR form, where the server adds it (the regional registries' cidr0 extension).
    QStringList cidrs;
    for (const QJsonValue &each : list(record, "cidr0_cidrs")) {
        const QJsonObject cidr = each.toObject();
        QString prefix = text(cidr, "v4prefix");
        if (prefix.isEmpty())
            prefix = text(cidr, "v6prefix");
        const QJsonValue length = cidr.value(QLatin1String("length"));
        if (!prefix.isEmpty() && length.isDouble())
            cidrs << prefix + u'/' + QString::number(length.toInt());
    }
    facts->cidr = cidrs.join(QLatin1String(", "));
}

void readAutnum(const QJsonObject &record, RecordFacts *facts)
{
    const QJsonValue start = record.value(QLatin1String("startAutnum"));
    const QJsonValue end = record.value(QLatin1String("endAutnum"));
    if (!start.isDouble())
        return;
    const auto as = [](const QJsonValue &number) { return QStringLiteral("AS%1").arg(qint64(number.toDouble())); };
    facts->range = as(start);
    if (end.isDouble() && end.toDouble() != start.toDouble())
        facts->range += QLatin1String(" - ") + as(end);
}
} // namespace

RecordFacts RdapFacts::read(const QByteArray &json)
{
    RecordFacts facts;
    const QJsonObject record = QJsonDocument::fromJson(json).object();
    const QString objectClass = text(record, "objectClassName").toLower();
    if (objectClass == QLatin1String("domain")) {
        readDomain(record, &facts);
    } else if (objectClass == QLatin1String("ip network") || objectClass == QLatin1String("autnum")) {
        if (objectClass == QLatin1String("autnum"))
            readAutnum(record, &facts);
        else
            readNetwork(record, &facts);
        facts.name = text(record, "name");
        facts.country = text(record, "country");
    } else {
        return facts;
    }
    // The registrar's abuse desk where it has one, else the record's own.
    QJsonObject abuse = findEntity(list(findEntity(list(record, "entities"), QLatin1String("registrar")), "entities"),
                                   QLatin1String("abuse"));
    if (abuse.isEmpty())
        abuse = findEntity(list(record, "entities"), QLatin1String("abuse"));
    facts.abuseEmail = vcardValue(abuse, QLatin1String("email"));
    facts.abusePhone = vcardValue(abuse, QLatin1String("tel"));
    return facts;
}
