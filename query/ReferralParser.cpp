// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Marrowby Industries

#include "query/ReferralParser.h"

#include <QList>
#include <QStringView>

#include <arpa/inet.h>

namespace {
constexpr qsizetype MaxHostLength = 253;
constexpr qsizetype MaxLabelLength = 63;
constexpr int HttpsPort = 443;

// The value of the first line anywhere in the reply whose key (before the
// colon, white space around it ignored, case ignored) is one of keys.
// Comment lines ("%" or "#") are not fields. Registries put notices with
// colons of their own above the record, so no block boundary is trusted.
QString firstValue(const QString &reply, std::initializer_list<QLatin1String> keys)
{
    for (QStringView line : QStringView(reply).split(u'\n')) {
        const QStringView trimmed = line.trimmed();
        if (trimmed.startsWith(u'%') || trimmed.startsWith(u'#'))
            continue;
        const qsizetype colon = trimmed.indexOf(u':');
        if (colon <= 0)
            continue;
        const QStringView key = trimmed.left(colon).trimmed();
        for (const QLatin1String &wanted : keys) {
            if (key.compare(wanted, Qt::CaseInsensitive) == 0)
                return trimmed.mid(colon + 1).trimmed().toString();
        }
    }
    return {};
}

bool isHostLabel(QStringView label)
{
    if (label.isEmpty() || label.size() > MaxLabelLength)
        return false;
    if (label.front() == u'-' || label.back() == u'-')
        return false;
    return std::all_of(label.begin(), label.end(), [](QChar c) {
        return (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || c == u'-';
    });
}

// The resolver reads "0x7f000001", "2130706433", "0177.1" and "127.1" as
// addresses too, so the test is the C library's own reading.
bool isAddressLiteral(QStringView host)
{
    const QByteArray bytes = host.toLatin1();
    in_addr v4{};
    in6_addr v6{};
    return inet_aton(bytes.constData(), &v4) != 0 || inet_pton(AF_INET6, bytes.constData(), &v6) == 1;
}

// A name of LDH labels with at least one dot that no resolver reads as an
// address. A name without a dot ("NIRA") would be completed by the local
// search domains.
bool isHostName(QStringView host)
{
    if (host.isEmpty() || host.size() > MaxHostLength || !host.contains(u'.') || isAddressLiteral(host))
        return false;
    const QList<QStringView> labels = host.split(u'.');
    return std::all_of(labels.begin(), labels.end(), isHostLabel);
}

ReferralParser::Referral referralFrom(const QString &raw)
{
    return {raw, ReferralParser::followableHost(raw)};
}
} // namespace

ReferralParser::Referral ReferralParser::registrarServer(const QString &reply)
{
    return referralFrom(firstValue(reply, {QLatin1String("Registrar WHOIS Server"), QLatin1String("Whois Server")}));
}

ReferralParser::Referral ReferralParser::ianaRefer(const QString &reply)
{
    return referralFrom(firstValue(reply, {QLatin1String("refer")}));
}

ReferralParser::Referral ReferralParser::ianaWhois(const QString &reply)
{
    return referralFrom(firstValue(reply, {QLatin1String("whois")}));
}

QString ReferralParser::ianaDomain(const QString &reply)
{
    return firstValue(reply, {QLatin1String("domain")});
}

ReferralParser::Referral ReferralParser::registryReferral(const QString &reply)
{
    return referralFrom(firstValue(reply, {QLatin1String("ReferralServer")}));
}

QString ReferralParser::followableHost(const QString &value)
{
    QStringView host(value);
    for (const QLatin1String scheme : {QLatin1String("whois://"), QLatin1String("rwhois://")}) {
        if (host.startsWith(scheme, Qt::CaseInsensitive)) {
            host = host.mid(scheme.size());
            break;
        }
    }
    if (host.endsWith(u'/'))
        host.chop(1);
    if (host.endsWith(u":43"))
        host.chop(3);
    if (host.endsWith(u'.'))
        host.chop(1); // the root label of a fully qualified name
    if (!isHostName(host))
        return {};
    return host.toString().toLower();
}

bool ReferralParser::isFollowableRdapUrl(const QUrl &url)
{
    return url.isValid() && url.scheme() == QLatin1String("https") && url.port(HttpsPort) == HttpsPort
        && url.userInfo().isEmpty() && isHostName(url.host());
}
