#include "query/RdapRenderer.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {
// Entities nest (a registrar holds its abuse contact); real records go two
// deep, so this only guards against hostile ones.
constexpr int MaxEntityDepth = 4;

QString capitalised(const QString &word)
{
    return word.isEmpty() ? word : word.front().toUpper() + word.mid(1);
}

QString eventLabel(const QString &action)
{
    if (action == QLatin1String("registration"))
        return QStringLiteral("Registration");
    if (action == QLatin1String("last changed"))
        return QStringLiteral("Last Changed");
    if (action == QLatin1String("expiration"))
        return QStringLiteral("Expiration");
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

class Writer
{
public:
    void line(int indent, const QString &label, const QString &value)
    {
        if (value.isEmpty())
            return;
        m_text += QString(indent * 2, u' ') + label + QLatin1String(": ") + value + u'\n';
    }

    void entity(const QJsonObject &entity, int depth)
    {
        const int indent = depth;
        QStringList roles;
        for (const QJsonValue &role : entity.value(QLatin1String("roles")).toArray())
            if (role.isString())
                roles << capitalised(role.toString());
        const QString label = roles.isEmpty() ? QStringLiteral("Contact") : roles.join(QLatin1String(", "));

        QString name;
        QString org;
        QStringList emails;
        QStringList phones;
        QStringList addresses;
        const QJsonArray card = entity.value(QLatin1String("vcardArray")).toArray().at(1).toArray();
        for (const QJsonValue &property : card) {
            const QJsonArray p = property.toArray();
            const QString kind = p.at(0).toString().toLower();
            const QJsonValue value = p.at(3);
            if (kind == QLatin1String("fn"))
                name = flatten(value);
            else if (kind == QLatin1String("org"))
                org = flatten(value);
            else if (kind == QLatin1String("email"))
                emails << flatten(value);
            else if (kind == QLatin1String("tel"))
                phones << withoutScheme(flatten(value), QLatin1String("tel:"));
            else if (kind == QLatin1String("adr")) {
                const QString labelled = p.at(1).toObject().value(QLatin1String("label")).toString();
                addresses << (labelled.isEmpty() ? flatten(value) : labelled.simplified());
            }
        }

        const QString shownName = name.isEmpty() ? entity.value(QLatin1String("handle")).toString() : name;
        m_text += QString(indent * 2, u' ') + label
            + (shownName.isEmpty() ? QString() : QLatin1String(": ") + shownName) + u'\n';
        for (const QJsonValue &id : entity.value(QLatin1String("publicIds")).toArray()) {
            const QJsonObject publicId = id.toObject();
            if (publicId.value(QLatin1String("type")).toString() == QLatin1String("IANA Registrar ID"))
                line(indent + 1, QStringLiteral("IANA ID"), publicId.value(QLatin1String("identifier")).toString());
        }
        line(indent + 1, QStringLiteral("Organisation"), org);
        for (const QString &email : std::as_const(emails))
            line(indent + 1, QStringLiteral("E-mail"), email);
        for (const QString &phone : std::as_const(phones))
            line(indent + 1, QStringLiteral("Phone"), phone);
        for (const QString &address : std::as_const(addresses))
            line(indent + 1, QStringLiteral("Address"), address);

        if (depth + 1 < MaxEntityDepth)
            for (const QJsonValue &inner : entity.value(QLatin1String("entities")).toArray())
                if (inner.isObject())
                    this->entity(inner.toObject(), depth + 1);
    }

    QString m_text;
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
    Writer out;

    // An error response (RFC 9083, section 6) carries a code, a title and lines.
    if (record.contains(QLatin1String("errorCode"))) {
        out.line(0, QStringLiteral("Error"), QString::number(record.value(QLatin1String("errorCode")).toInt()));
        out.line(0, QStringLiteral("Title"), record.value(QLatin1String("title")).toString());
    }

    out.line(0, QStringLiteral("Domain Name"), record.value(QLatin1String("ldhName")).toString());
    const QString unicodeName = record.value(QLatin1String("unicodeName")).toString();
    if (unicodeName.compare(record.value(QLatin1String("ldhName")).toString(), Qt::CaseInsensitive) != 0)
        out.line(0, QStringLiteral("Unicode Name"), unicodeName);
    out.line(0, QStringLiteral("Handle"), record.value(QLatin1String("handle")).toString());
    for (const QJsonValue &status : record.value(QLatin1String("status")).toArray())
        out.line(0, QStringLiteral("Status"), status.toString());
    for (const QJsonValue &value : record.value(QLatin1String("events")).toArray()) {
        const QJsonObject event = value.toObject();
        out.line(0, eventLabel(event.value(QLatin1String("eventAction")).toString()),
                 event.value(QLatin1String("eventDate")).toString());
    }
    for (const QJsonValue &value : record.value(QLatin1String("nameservers")).toArray())
        out.line(0, QStringLiteral("Name Server"), value.toObject().value(QLatin1String("ldhName")).toString());
    const QJsonValue secure = record.value(QLatin1String("secureDNS")).toObject().value(QLatin1String("delegationSigned"));
    if (secure.isBool())
        out.line(0, QStringLiteral("DNSSEC"), secure.toBool() ? QStringLiteral("signed") : QStringLiteral("unsigned"));
    for (const QJsonValue &value : record.value(QLatin1String("entities")).toArray())
        if (value.isObject())
            out.entity(value.toObject(), 0);

    for (const QJsonValue &value : record.value(QLatin1String("description")).toArray())
        out.line(0, QStringLiteral("Description"), value.toString());
    for (const QJsonValue &value : record.value(QLatin1String("notices")).toArray()) {
        const QJsonObject notice = value.toObject();
        out.line(0, QStringLiteral("Notice"), notice.value(QLatin1String("title")).toString());
        for (const QJsonValue &line : notice.value(QLatin1String("description")).toArray())
            if (line.isString() && !line.toString().isEmpty())
                out.m_text += QLatin1String("  ") + line.toString() + u'\n';
    }

    for (const QJsonValue &value : record.value(QLatin1String("links")).toArray()) {
        const QJsonObject link = value.toObject();
        if (link.value(QLatin1String("rel")).toString() == QLatin1String("related")
            && link.value(QLatin1String("type")).toString() == QLatin1String("application/rdap+json")) {
            result.relatedHref = link.value(QLatin1String("href")).toString();
            break;
        }
    }
    result.text = out.m_text;
    return result;
}
