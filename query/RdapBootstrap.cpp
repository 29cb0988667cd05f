// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Marrowby Industries

#include "query/RdapBootstrap.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {
// A service may list several base URLs; HTTPS is preferred where offered.
QUrl pickBase(const QJsonArray &urls)
{
    QUrl chosen;
    for (const QJsonValue &value : urls) {
        QUrl url(value.toString());
        if (!url.isValid() || (url.scheme() != QLatin1String("https") && url.scheme() != QLatin1String("http")))
            continue;
        if (!url.path().endsWith(u'/'))
            url.setPath(url.path() + QLatin1Char('/'));
        if (chosen.isEmpty() || (url.scheme() == QLatin1String("https") && chosen.scheme() != url.scheme()))
            chosen = url;
    }
    return chosen;
}

// "64496-64511" or "64496".
bool parseAsnRange(const QString &entry, quint32 *first, quint32 *last)
{
    const qsizetype dash = entry.indexOf(u'-');
    bool ok = false;
    bool lastOk = false;
    *first = entry.left(dash < 0 ? entry.size() : dash).trimmed().toUInt(&ok);
    *last = dash < 0 ? *first : entry.mid(dash + 1).trimmed().toUInt(&lastOk);
    return ok && (dash < 0 || lastOk) && *first <= *last;
}
} // namespace

QString RdapBootstrap::fileName(Registry registry)
{
    switch (registry) {
    case Registry::Dns:
        return QStringLiteral("dns.json");
    case Registry::Ipv4:
        return QStringLiteral("ipv4.json");
    case Registry::Ipv6:
        return QStringLiteral("ipv6.json");
    case Registry::Asn:
        return QStringLiteral("asn.json");
    }
    return {};
}

bool RdapBootstrap::load(const QByteArray &json, QString *error, Registry registry)
{
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(json, &parseError);
    const QJsonValue services = document.object().value(QLatin1String("services"));
    if (parseError.error != QJsonParseError::NoError || !services.isArray()) {
        *error = parseError.error != QJsonParseError::NoError ? parseError.errorString()
                                                              : QStringLiteral("no list of services");
        return false;
    }
    for (const QJsonValue &service : services.toArray()) {
        const QJsonArray pair = service.toArray();
        const QUrl base = pickBase(pair.at(1).toArray());
        if (base.isEmpty())
            continue;
        for (const QJsonValue &value : pair.at(0).toArray()) {
            const QString entry = value.toString().toLower();
            if (entry.isEmpty())
                continue;
            if (registry == Registry::Dns) {
                m_services.insert(entry, base);
            } else if (registry == Registry::Asn) {
                AsnRange range{0, 0, base};
                if (parseAsnRange(entry, &range.first, &range.last))
                    m_asns.append(range);
            } else {
                const auto [network, length] = QHostAddress::parseSubnet(entry);
                if (!network.isNull())
                    m_blocks.append({network, length, base});
            }
        }
    }
    if (!m_loaded.contains(registry))
        m_loaded.append(registry);
    return true;
}

bool RdapBootstrap::isLoaded(Registry registry) const
{
    return m_loaded.contains(registry);
}

QUrl RdapBootstrap::baseFor(const QString &aceName) const
{
    QString name = aceName.toLower();
    if (name.endsWith(u'.'))
        name.chop(1);
    // Longest match first: "a.example.co.uk", then "example.co.uk", ...
    for (qsizetype from = 0; from >= 0 && from < name.size();) {
        const auto found = m_services.constFind(name.mid(from));
        if (found != m_services.constEnd())
            return *found;
        const qsizetype dot = name.indexOf(u'.', from);
        from = dot < 0 ? -1 : dot + 1;
    }
    return {};
}

QUrl RdapBootstrap::baseForAddress(const QHostAddress &address, int prefixLength) const
{
    const int wanted = prefixLength < 0 ? (address.protocol() == QAbstractSocket::IPv4Protocol ? 32 : 128)
                                        : prefixLength;
    const Block *best = nullptr;
    for (const Block &block : m_blocks) {
        if (block.network.protocol() == address.protocol() && block.length <= wanted
            && address.isInSubnet(block.network, block.length) && (!best || block.length > best->length))
            best = &block;
    }
    return best ? best->base : QUrl();
}

QUrl RdapBootstrap::baseForAsn(quint32 asn) const
{
    const AsnRange *best = nullptr;
    for (const AsnRange &range : m_asns) {
        if (asn >= range.first && asn <= range.last && (!best || range.last - range.first < best->last - best->first))
            best = &range;
    }
    return best ? best->base : QUrl();
}
