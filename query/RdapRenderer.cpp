// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Marrowby Industries

#include "query/RdapRenderer.h"

#include "query/ReplyDecoder.h"

#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {
// Entities nest (a registrar holds its abuse contact); real records go two
// deep, so this only guards against hostile ones.
constexpr int MaxEntityDepth = 4;

QString text(const QJsonObject &object, const char *key)
{
    return object.value(QLatin1String(key)).toString();
}

QJsonArray list(const QJsonObject &object, const char *key)
{
    return object.value(QLatin1String(key)).toArray();
}

// Key tags, algorithms and AS numbers come as JSON numbers; some servers
// send them as strings.
QString scalar(const QJsonValue &value)
{
    if (value.isDouble())
        return QString::number(value.toDouble(), 'g', 15);
    return value.toString();
}

QString capitalised(const QString &word)
{
    return word.isEmpty() ? word : word.front().toUpper() + word.mid(1);
}

QString eventLabel(const QString &action)
{
    if (action == QLatin1String("last changed"))
        return QStringLiteral("Last Changed");
    return capitalised(action);
}

// A jCard value is a text, or a structured value whose parts may again be
// lists (an address with several street lines).
QString flatten(const QJsonValue &value)
{
    if (value.isString())
        return value.toString().trimmed();
    QStringList parts;
    for (const QJsonValue &part : value.toArray()) {
        if (part.isString() && !part.toString().trimmed().isEmpty())
            parts << part.toString().trimmed();
        else if (part.isArray())
            for (const QJsonValue &inner : part.toArray())
                if (inner.isString() && !inner.toString().trimmed().isEmpty())
                    parts << inner.toString().trimmed();
    }
    return parts.join(QLatin1String(", "));
}

QString withoutScheme(const QString &uri, QLatin1String scheme)
{
    return uri.startsWith(scheme, Qt::CaseInsensitive) ? uri.mid(scheme.size()) : uri;
}

// A jCard "tel" says by its type parameter (RFC 6350) whether it is a fax,
// a mobile and so on; "work" and "home" say where, not what.
QString telLabel(const QJsonValue &type)
{
    QStringList types;
    if (type.isString())
        types << type.toString().toLower();
    for (const QJsonValue &each : type.toArray())
        types << each.toString().toLower();
    types.removeAll(QStringLiteral("work"));
    types.removeAll(QStringLiteral("home"));
    types.removeAll(QStringLiteral("pref"));
    types.removeAll(QString());
    if (types.contains(QLatin1String("fax")))
        return QStringLiteral("Fax");
    if (types.isEmpty() || types.contains(QLatin1String("voice")))
        return QStringLiteral("Phone");
    return capitalised(types.first());
}

// RFC 9537 names the way a value was withheld; these say it plainly.
QString methodWords(const QString &method)
{
    if (method.isEmpty() || method == QLatin1String("removal"))
        return QStringLiteral("removed");
    if (method == QLatin1String("emptyValue"))
        return QStringLiteral("left empty");
    if (method == QLatin1String("partialValue"))
        return QStringLiteral("partly shown");
    if (method == QLatin1String("replacementValue"))
        return QStringLiteral("replaced");
    return method;
}

QString descriptionOrType(const QJsonValue &value)
{
    const QJsonObject object = value.toObject();
    const QString description = text(object, "description");
    return description.isEmpty() ? text(object, "type") : description;
}

bool hasRole(const QJsonObject &entity, const QString &role)
{
    return list(entity, "roles").contains(QJsonValue(role));
}

// The role a filter such as "?(@.roles[0]=='registrant')" asks for: the
// first quoted text after "@.roles", however it is compared. Found by hand,
// as a pattern could backtrack for long on a hostile path.
QString filteredRole(const QString &selector)
{
    const qsizetype roles = selector.indexOf(QLatin1String("@.roles"));
    qsizetype open = roles;
    while (open >= 0 && open < selector.size() && selector.at(open) != u'\'' && selector.at(open) != u'"')
        ++open;
    if (roles < 0 || open >= selector.size())
        return {};
    const qsizetype close = selector.indexOf(selector.at(open), open + 1);
    return close < 0 ? QString() : selector.mid(open + 1, close - open - 1);
}

// Where the bracket open before from closes in a JSONPath, brackets within
// quotes aside; -1 when it does not.
qsizetype closingBracket(const QString &path, qsizetype from)
{
    int nesting = 1;
    QChar quote;
    for (qsizetype pos = from; pos < path.size(); ++pos) {
        const QChar c = path.at(pos);
        if (!quote.isNull())
            quote = c == quote ? QChar() : quote;
        else if (c == u'\'' || c == u'"')
            quote = c;
        else if (c == u'[')
            ++nesting;
        else if (c == u']' && --nesting == 0)
            return pos;
    }
    return -1;
}

class Writer
{
public:
    explicit Writer(const QJsonObject &record)
    {
        for (const QJsonValue &value : list(record, "redacted")) {
            if (!value.isObject())
                continue;
            const QJsonObject redaction = value.toObject();
            QString path = text(redaction, "prePath");
            if (path.isEmpty())
                path = text(redaction, "postPath");
            if (path.isEmpty())
                path = text(redaction, "replacementPath");
            QString name = descriptionOrType(redaction.value(QLatin1String("name")));
            if (name.isEmpty())
                name = path.isEmpty() ? QStringLiteral("(unnamed field)") : path;
            const QString reason = descriptionOrType(redaction.value(QLatin1String("reason")));
            m_redactions[entityKey(record, path)]
                << name + QLatin1String(" (") + methodWords(text(redaction, "method"))
                       + (reason.isEmpty() ? QString() : QLatin1String("; reason: ") + reason) + u')';
        }
    }

    void line(int indent, const QString &label, const QString &value)
    {
        if (!value.isEmpty())
            heading(indent, label, value);
    }

    // A label that stands even without a value, with lines below it.
    void heading(int indent, const QString &label, const QString &value = QString())
    {
        plain(indent, value.isEmpty() ? label : label + QLatin1String(": ") + value);
    }

    void plain(int indent, const QString &line)
    {
        m_text += QString(indent * 2, u' ') + line + u'\n';
    }

    void domainHead(const QJsonObject &record)
    {
        line(0, QStringLiteral("Domain Name"), text(record, "ldhName"));
        const QString unicodeName = text(record, "unicodeName");
        if (unicodeName.compare(text(record, "ldhName"), Qt::CaseInsensitive) != 0)
            line(0, QStringLiteral("Unicode Name"), unicodeName);
        line(0, QStringLiteral("Handle"), text(record, "handle"));
    }

    void networkHead(const QJsonObject &network)
    {
        line(0, QStringLiteral("Handle"), text(network, "handle"));
        QStringList ends = {text(network, "startAddress"), text(network, "endAddress")};
        ends.removeAll(QString());
        line(0, QStringLiteral("Range"), ends.join(QLatin1String(" - ")));
        for (const QJsonValue &value : list(network, "cidr0_cidrs")) {
            const QJsonObject cidr = value.toObject();
            QString prefix = text(cidr, "v4prefix");
            if (prefix.isEmpty())
                prefix = text(cidr, "v6prefix");
            const QString length = scalar(cidr.value(QLatin1String("length")));
            if (!prefix.isEmpty())
                line(0, QStringLiteral("CIDR"), length.isEmpty() ? prefix : prefix + u'/' + length);
        }
        nameTypeCountry(network);
        line(0, QStringLiteral("Parent Handle"), text(network, "parentHandle"));
    }

    void autnumHead(const QJsonObject &autnum)
    {
        line(0, QStringLiteral("Handle"), text(autnum, "handle"));
        const QString start = scalar(autnum.value(QLatin1String("startAutnum")));
        const QString end = scalar(autnum.value(QLatin1String("endAutnum")));
        if (start.isEmpty() || end.isEmpty() || start == end) {
            const QString number = start.isEmpty() ? end : start;
            line(0, QStringLiteral("AS Number"), number.isEmpty() ? QString() : QLatin1String("AS") + number);
        } else {
            line(0, QStringLiteral("AS Range"), QLatin1String("AS") + start + QLatin1String(" - AS") + end);
        }
        nameTypeCountry(autnum);
    }

    void nameTypeCountry(const QJsonObject &object)
    {
        line(0, QStringLiteral("Name"), text(object, "name"));
        line(0, QStringLiteral("Type"), text(object, "type"));
        line(0, QStringLiteral("Country"), text(object, "country"));
    }

    void statusAndEvents(int indent, const QJsonObject &object)
    {
        for (const QJsonValue &status : list(object, "status"))
            line(indent, QStringLiteral("Status"), status.toString());
        for (const QJsonValue &value : list(object, "events")) {
            const QJsonObject event = value.toObject();
            line(indent, eventLabel(text(event, "eventAction")), text(event, "eventDate"));
        }
        line(indent, QStringLiteral("WHOIS server"), text(object, "port43"));
    }

    void nameServers(const QJsonObject &record)
    {
        for (const QJsonValue &value : list(record, "nameservers")) {
            const QJsonObject server = value.toObject();
            line(0, QStringLiteral("Name Server"), text(server, "ldhName"));
            const QJsonObject addresses = server.value(QLatin1String("ipAddresses")).toObject();
            for (const QJsonValue &address : list(addresses, "v4"))
                line(1, QStringLiteral("IPv4"), address.toString());
            for (const QJsonValue &address : list(addresses, "v6"))
                line(1, QStringLiteral("IPv6"), address.toString());
            remarks(1, list(server, "remarks"), QStringLiteral("Remark"));
        }
    }

    void dnssec(const QJsonObject &record)
    {
        const QJsonObject secure = record.value(QLatin1String("secureDNS")).toObject();
        const QJsonValue isSigned = secure.value(QLatin1String("delegationSigned"));
        const QJsonArray dsData = list(secure, "dsData");
        const QJsonArray keyData = list(secure, "keyData");
        if (isSigned.isBool())
            heading(0, QStringLiteral("DNSSEC"), isSigned.toBool() ? QStringLiteral("signed") : QStringLiteral("unsigned"));
        else if (!dsData.isEmpty() || !keyData.isEmpty())
            heading(0, QStringLiteral("DNSSEC"));
        for (const QJsonValue &value : dsData) {
            if (!value.isObject())
                continue;
            const QJsonObject ds = value.toObject();
            heading(1, QStringLiteral("DS Record"));
            line(2, QStringLiteral("Key Tag"), scalar(ds.value(QLatin1String("keyTag"))));
            line(2, QStringLiteral("Algorithm"), scalar(ds.value(QLatin1String("algorithm"))));
            line(2, QStringLiteral("Digest Type"), scalar(ds.value(QLatin1String("digestType"))));
            line(2, QStringLiteral("Digest"), text(ds, "digest"));
        }
        for (const QJsonValue &value : keyData) {
            if (!value.isObject())
                continue;
            const QJsonObject key = value.toObject();
            heading(1, QStringLiteral("Key"));
            line(2, QStringLiteral("Flags"), scalar(key.value(QLatin1String("flags"))));
            line(2, QStringLiteral("Protocol"), scalar(key.value(QLatin1String("protocol"))));
            line(2, QStringLiteral("Algorithm"), scalar(key.value(QLatin1String("algorithm"))));
            line(2, QStringLiteral("Public Key"), text(key, "publicKey"));
        }
    }

    void entities(int depth, const QJsonArray &entities, const QString &parentKey)
    {
        if (depth >= MaxEntityDepth)
            return;
        // The abuse contact is what most readers of a network's record look
        // for. Keys name entities by their place in the reply, not on screen.
        for (const bool abuse : {true, false}) {
            for (qsizetype i = 0; i < entities.size(); ++i) {
                const QJsonObject each = entities.at(i).toObject();
                if (!entities.at(i).isObject() || hasRole(each, QStringLiteral("abuse")) != abuse)
                    continue;
                const QString key = QString::number(i);
                entity(depth, each, parentKey.isEmpty() ? key : parentKey + u'/' + key);
            }
        }
    }

    void entity(int indent, const QJsonObject &entity, const QString &key)
    {
        QStringList roles;
        for (const QJsonValue &role : list(entity, "roles"))
            if (role.isString())
                roles << (role == QLatin1String("noc") ? QStringLiteral("NOC") : capitalised(role.toString()));

        QString name;
        QStringList fields;
        for (const QJsonValue &property : list(entity, "vcardArray").at(1).toArray()) {
            const QJsonArray p = property.toArray();
            const QString kind = p.at(0).toString().toLower();
            const QJsonObject parameters = p.at(1).toObject();
            const QJsonValue value = p.at(3);
            QString label;
            QString shown = flatten(value);
            if (kind == QLatin1String("fn")) {
                name = shown;
            } else if (kind == QLatin1String("org")) {
                label = QStringLiteral("Organisation");
            } else if (kind == QLatin1String("email")) {
                label = QStringLiteral("E-mail");
            } else if (kind == QLatin1String("contact-uri")) {
                label = QStringLiteral("Contact URI");
            } else if (kind == QLatin1String("tel")) {
                label = telLabel(parameters.value(QLatin1String("type")));
                shown = withoutScheme(shown, QLatin1String("tel:"));
            } else if (kind == QLatin1String("adr")) {
                label = QStringLiteral("Address");
                // A label is the address as printed, one part a line.
                QStringList labelled = text(parameters, "label").split(u'\n');
                for (QString &part : labelled)
                    part = part.simplified();
                labelled.removeAll(QString());
                if (!labelled.isEmpty())
                    shown = labelled.join(QLatin1String(", "));
            }
            if (!label.isEmpty() && !shown.isEmpty())
                fields << label + QLatin1String(": ") + shown;
        }

        heading(indent, roles.isEmpty() ? QStringLiteral("Contact") : roles.join(QLatin1String(", ")),
                name.isEmpty() ? QStringLiteral("(no name given)") : name);
        line(indent + 1, QStringLiteral("Handle"), text(entity, "handle"));
        for (const QJsonValue &id : list(entity, "publicIds")) {
            const QJsonObject publicId = id.toObject();
            if (text(publicId, "type") == QLatin1String("IANA Registrar ID"))
                line(indent + 1, QStringLiteral("IANA ID"), scalar(publicId.value(QLatin1String("identifier"))));
        }
        for (const QString &field : std::as_const(fields))
            plain(indent + 1, field);
        statusAndEvents(indent + 1, entity);
        remarks(indent + 1, list(entity, "remarks"), QStringLiteral("Remark"));
        redactions(indent + 1, key);
        entities(indent + 1, list(entity, "entities"), key);
    }

    void redactions(int indent, const QString &key)
    {
        for (const QString &redaction : m_redactions.value(key))
            line(indent, QStringLiteral("Redacted"), redaction);
    }

    // Notices and remarks (RFC 9083, section 4.3): a title, lines, links.
    void remarks(int indent, const QJsonArray &remarks, const QString &label)
    {
        for (const QJsonValue &value : remarks) {
            const QJsonObject remark = value.toObject();
            QStringList lines;
            for (const QJsonValue &description : list(remark, "description"))
                if (!description.toString().isEmpty())
                    lines << description.toString();
            for (const QJsonValue &link : list(remark, "links"))
                if (!text(link.toObject(), "href").isEmpty())
                    lines << QLatin1String("Link: ") + text(link.toObject(), "href");
            QString title = text(remark, "title");
            if (title.isEmpty())
                title = capitalised(text(remark, "type"));
            if (title.isEmpty() && lines.isEmpty())
                continue;
            heading(indent, label, title);
            for (const QString &each : std::as_const(lines))
                plain(indent + 1, each);
        }
    }

    QString m_text;

private:
    // The entity a redaction's JSONPath points into, as the indices that
    // lead to it ("0/1": the first entity's second entity); empty when the
    // path names none, or one the server left out.
    QString entityKey(const QJsonObject &record, const QString &path)
    {
        static const QLatin1String step(".entities[");
        QJsonArray entities = list(record, "entities");
        QString key;
        qsizetype pos = 1;
        // No deeper than entities are shown, so that every redaction is.
        for (int depth = 0; depth < MaxEntityDepth && path.startsWith(u'$') && path.mid(pos, step.size()) == step;
             ++depth) {
            const qsizetype start = pos + step.size();
            const qsizetype end = closingBracket(path, start);
            const qsizetype picked = end < 0 ? -1 : pickEntity(entities, key, path.mid(start, end - start));
            if (picked < 0)
                break;
            pos = end + 1;
            key += (key.isEmpty() ? QString() : QStringLiteral("/")) + QString::number(picked);
            entities = list(entities.at(picked).toObject(), "entities");
        }
        return key;
    }

    // Which entity a selector such as "0" or a role filter picks from the
    // list of entities under listKey; -1 when none.
    qsizetype pickEntity(const QJsonArray &entities, const QString &listKey, const QString &selector)
    {
        bool isIndex = false;
        const int index = selector.trimmed().toInt(&isIndex);
        if (isIndex)
            return index >= 0 && index < entities.size() && entities.at(index).isObject() ? index : -1;
        // Each list is searched once, however many redactions name it.
        auto found = m_firstWithRole.constFind(listKey);
        if (found == m_firstWithRole.cend()) {
            QHash<QString, qsizetype> first;
            for (qsizetype i = 0; i < entities.size(); ++i)
                for (const QJsonValue &role : list(entities.at(i).toObject(), "roles"))
                    if (!role.toString().isEmpty() && !first.contains(role.toString()))
                        first.insert(role.toString(), i);
            found = m_firstWithRole.insert(listKey, first);
        }
        return found->value(filteredRole(selector), -1);
    }

    QHash<QString, QStringList> m_redactions; // by entity key; "" for the record itself
    QHash<QString, QHash<QString, qsizetype>> m_firstWithRole; // by the key of the entity that holds the list
};
} // namespace

RdapRenderer::Result RdapRenderer::render(const QByteArray &json)
{
    Result result;
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(json, &parseError);
    if (parseError.error != QJsonParseError::NoError) {
        result.error = QStringLiteral("the RDAP reply is not valid JSON (%1 at byte %2)")
                           .arg(parseError.errorString())
                           .arg(parseError.offset);
        return result;
    }
    if (!document.isObject()) {
        result.error = QStringLiteral("the RDAP reply is not a JSON object");
        return result;
    }
    const QJsonObject record = document.object();
    Writer out(record);

    // An error response (RFC 9083, section 6) carries a code, a title and lines.
    if (record.contains(QLatin1String("errorCode"))) {
        out.line(0, QStringLiteral("Error"), scalar(record.value(QLatin1String("errorCode"))));
        out.line(0, QStringLiteral("Title"), text(record, "title"));
    }

    const QString objectClass = text(record, "objectClassName");
    if (objectClass == QLatin1String("ip network"))
        out.networkHead(record);
    else if (objectClass == QLatin1String("autnum"))
        out.autnumHead(record);
    else
        out.domainHead(record);
    out.statusAndEvents(0, record);
    out.nameServers(record);
    out.dnssec(record);
    out.remarks(0, list(record, "remarks"), QStringLiteral("Remark"));
    out.entities(0, list(record, "entities"), QString());
    out.redactions(0, QString());

    for (const QJsonValue &value : list(record, "description"))
        out.line(0, QStringLiteral("Description"), value.toString());
    out.remarks(0, list(record, "notices"), QStringLiteral("Notice"));

    for (const QJsonValue &value : list(record, "links")) {
        const QJsonObject link = value.toObject();
        if (text(link, "rel") == QLatin1String("related") && text(link, "type") == QLatin1String("application/rdap+json")) {
            result.relatedHref = text(link, "href");
            break;
        }
    }
    // A record's strings may hold what a port-43 reply may: a CR in them is
    // a line break and the other controls show as U+FFFD, so the box shows
    // what a save writes.
    result.text = ReplyDecoder::cleaned(std::move(out.m_text));
    return result;
}
