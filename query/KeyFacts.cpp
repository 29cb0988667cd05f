// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Marrowby Industries

#include "query/KeyFacts.h"

#include "query/EppStatus.h"
#include "query/NumberResource.h"
#include "query/RdapFacts.h"
#include "query/ReplyDecoder.h"
#include "query/WhoisFacts.h"

#include <QStringList>
#include <QUrl>

#include <algorithm>

namespace {
// "Abuse contact: " is the longest label; values line up after it.
constexpr int ValueColumn = 15;

struct Merged {
    RecordFacts facts;
    bool domainByRegistry = false;
    QString numberRegistry;
    QStringList from;
};

void takeIfGiven(QString &field, const QString &value)
{
    if (!value.isEmpty())
        field = value;
}

void takeIfGiven(QStringList &field, const QStringList &value)
{
    if (!value.isEmpty())
        field = value;
}

// The regional Internet registries by the domain their servers are under.
QString regionalRegistry(const QString &host)
{
    static const std::pair<const char *, const char *> registries[] = {
        {"afrinic.net", "AFRINIC"}, {"apnic.net", "APNIC"}, {"arin.net", "ARIN"},
        {"lacnic.net", "LACNIC"},   {"ripe.net", "RIPE NCC"},
    };
    for (const auto &[domain, name] : registries)
        if (host == QLatin1String(domain) || host.endsWith(u'.' + QLatin1String(domain)))
            return QLatin1String(name);
    return {};
}

// Whether a record's name is the one looked up, in whichever form the
// registry writes it.
bool isQueriedName(const QString &domain, const QString &queried)
{
    QString name = domain.toLower();
    if (name.endsWith(u'.'))
        name.chop(1);
    if (std::any_of(name.cbegin(), name.cend(), [](QChar c) { return c.unicode() >= 0x80; }))
        name = QString::fromLatin1(QUrl::toAce(name));
    return name == queried.toLower();
}

QString hostOf(const LookupHop &hop)
{
    return hop.source == LookupHop::Source::Rdap ? QUrl(hop.server).host() : hop.server;
}

// Later answers are the more specific (the registrar's after the
// registry's) and win, except for the name as the registry writes it and
// the registry's expiry date, which stay the registry's.
void merge(Merged &merged, const RecordFacts &facts, const LookupHop &hop)
{
    RecordFacts &into = merged.facts;
    const bool registry = hop.role == LookupHop::Role::Registry;
    if (!facts.domain.isEmpty() && (into.domain.isEmpty() || (registry && !merged.domainByRegistry))) {
        into.domain = facts.domain;
        into.unicodeName = facts.unicodeName;
        merged.domainByRegistry = registry;
    }
    takeIfGiven(into.registrar, facts.registrar);
    takeIfGiven(into.ianaId, facts.ianaId);
    if (facts.created.isValid())
        into.created = facts.created;
    if (facts.updated.isValid())
        into.updated = facts.updated;
    // A registrar's answer gives its own expiry under either label.
    if (registry && facts.expires.isValid())
        into.expires = facts.expires;
    const QDate registrars = (registry || facts.registrarExpires.isValid()) ? facts.registrarExpires : facts.expires;
    if (registrars.isValid())
        into.registrarExpires = registrars;
    takeIfGiven(into.statuses, facts.statuses);
    if (!facts.nameServers.isEmpty()) {
        into.nameServers = facts.nameServers;
        into.moreNameServers = facts.moreNameServers;
    }
    if (facts.dnssecSigned)
        into.dnssecSigned = facts.dnssecSigned;
    // One desk's e-mail and phone, not one answer's e-mail beside another's phone.
    if (!facts.abuseEmail.isEmpty() || !facts.abusePhone.isEmpty()) {
        into.abuseEmail = facts.abuseEmail;
        into.abusePhone = facts.abusePhone;
    }
    takeIfGiven(into.range, facts.range);
    takeIfGiven(into.cidr, facts.cidr);
    takeIfGiven(into.name, facts.name);
    takeIfGiven(into.country, facts.country);
    if (facts.hasNumberFacts())
        takeIfGiven(merged.numberRegistry, regionalRegistry(hostOf(hop)));

    QString source = hostOf(hop);
    if (hop.source == LookupHop::Source::Rdap)
        source += QLatin1String(" (RDAP)");
    if (!merged.from.contains(source))
        merged.from << source;
}

// A value on one line, without the characters a reply's text shows as
// U+FFFD or the marks that turn text direction around, which a record's
// strings may hold. The tab and the line break are spaces by then.
QString clean(const QString &value)
{
    QString text = value.simplified();
    for (QChar &c : text) {
        const char16_t u = c.unicode();
        if (ReplyDecoder::isShownAsReplacement(u) || (u >= 0x202A && u <= 0x202E) || (u >= 0x2066 && u <= 0x2069))
            c = QChar::ReplacementCharacter;
    }
    return text;
}

// The label, then the value broken between words so that no line passes
// the width; continuation lines start under the value. A word longer than
// a line (a name without spaces) is broken where the line ends.
QString field(const QString &label, const QString &value)
{
    constexpr qsizetype Room = KeyFacts::Width - ValueColumn;
    const QString indent(ValueColumn, u' ');
    QString text = label.isEmpty() ? indent : QString(label + u':').leftJustified(ValueColumn - 1) + u' ';
    qsizetype lineStart = 0;
    bool first = true;
    for (const QString &word : clean(value).split(u' ', Qt::SkipEmptyParts)) {
        for (qsizetype at = 0; at < word.size(); at += Room) {
            const QStringView piece = QStringView(word).mid(at, Room);
            if (first) {
                text += piece;
                first = false;
            } else if (text.size() - lineStart + 1 + piece.size() <= KeyFacts::Width) {
                text += u' ' + piece.toString();
            } else {
                text += u'\n';
                lineStart = text.size();
                text += indent + piece.toString();
            }
        }
    }
    return text + u'\n';
}

QString daysLeft(const QDate &date, const QDateTime &now)
{
    const qint64 days = now.date().daysTo(date);
    if (days == 0)
        return KeyFacts::tr("(today)");
    if (days == 1)
        return KeyFacts::tr("(in 1 day)");
    if (days > 1)
        return KeyFacts::tr("(in %1 days)").arg(days);
    if (days == -1)
        return KeyFacts::tr("(expired 1 day ago)");
    return KeyFacts::tr("(expired %1 days ago)").arg(-days);
}

QString expiry(const QDate &date, const QDateTime &now)
{
    return date.toString(Qt::ISODate) + u' ' + daysLeft(date, now);
}

QString expiryLines(const Merged &merged, const QDateTime &now)
{
    const QDate &registry = merged.facts.expires;
    const QDate &registrar = merged.facts.registrarExpires;
    const QString label = KeyFacts::tr("Expires");
    if (registry.isValid() && registrar.isValid() && registry != registrar)
        return field(label, KeyFacts::tr("%1, registry").arg(expiry(registry, now)))
            + field({}, KeyFacts::tr("%1, registrar").arg(expiry(registrar, now)));
    const QDate date = registry.isValid() ? registry : registrar;
    return date.isValid() ? field(label, expiry(date, now)) : QString();
}

QString abuseContact(const RecordFacts &facts)
{
    QStringList parts;
    if (!facts.abuseEmail.isEmpty())
        parts << facts.abuseEmail;
    if (!facts.abusePhone.isEmpty())
        parts << facts.abusePhone;
    return parts.join(QLatin1String(", "));
}

QString optionalField(const QString &label, const QString &value)
{
    return value.isEmpty() ? QString() : field(label, value);
}

QString domainLines(const Merged &merged, const QDateTime &now)
{
    const RecordFacts &facts = merged.facts;
    QString name = facts.domain;
    QString unicode = facts.unicodeName;
    // Both forms stand side by side, so no whitelist of TLDs is needed
    // against names that only look alike.
    if (unicode.isEmpty() && name.contains(QLatin1String("xn--"), Qt::CaseInsensitive))
        unicode = QUrl::fromAce(name.toLatin1(), QUrl::IgnoreIDNWhitelist);
    if (!unicode.isEmpty() && unicode.compare(name, Qt::CaseInsensitive) != 0)
        name += QLatin1String(" (") + unicode + u')';

    QString registrar = facts.registrar;
    if (!facts.ianaId.isEmpty())
        registrar += (registrar.isEmpty() ? QString() : QStringLiteral(" "))
            + KeyFacts::tr("(IANA ID %1)").arg(facts.ianaId);

    QString text = optionalField(KeyFacts::tr("Domain"), name) + optionalField(KeyFacts::tr("Registrar"), registrar);
    if (facts.created.isValid())
        text += field(KeyFacts::tr("Created"), facts.created.toString(Qt::ISODate));
    if (facts.updated.isValid())
        text += field(KeyFacts::tr("Updated"), facts.updated.toString(Qt::ISODate));
    text += expiryLines(merged, now);
    QString label = KeyFacts::tr("Status");
    for (const QString &code : facts.statuses) {
        text += field(label, code + QLatin1String(": ") + EppStatus::meaning(code));
        label.clear();
    }
    QString nameServers = facts.nameServers.join(QLatin1String(", "));
    if (facts.moreNameServers)
        nameServers += u' ' + KeyFacts::tr("and more (see the reply)");
    text += optionalField(KeyFacts::tr("Name servers"), nameServers);
    if (facts.dnssecSigned)
        text += field(KeyFacts::tr("DNSSEC"), *facts.dnssecSigned ? KeyFacts::tr("signed") : KeyFacts::tr("unsigned"));
    return text + optionalField(KeyFacts::tr("Abuse contact"), abuseContact(facts));
}

QString numberLines(const Merged &merged)
{
    const RecordFacts &facts = merged.facts;
    const bool asn = facts.range.startsWith(QLatin1String("AS"), Qt::CaseInsensitive);
    return optionalField(asn ? KeyFacts::tr("AS number") : KeyFacts::tr("Network"), facts.range)
        + optionalField(KeyFacts::tr("CIDR"), facts.cidr) + optionalField(KeyFacts::tr("Name"), facts.name)
        + optionalField(KeyFacts::tr("Country"), facts.country)
        + optionalField(KeyFacts::tr("Registry"), merged.numberRegistry)
        + optionalField(KeyFacts::tr("Abuse contact"), abuseContact(facts));
}
} // namespace

QString KeyFacts::summary(const QString &queried, const QList<LookupHop> &hops, const QDateTime &now)
{
    const bool number = NumberResource::parse(queried).kind() != NumberResource::Kind::None;
    Merged merged;
    QString notRegisteredBy;
    for (const LookupHop &hop : hops) {
        if (hop.role == LookupHop::Role::Referral || hop.throttled)
            continue;
        const bool rdap = hop.source == LookupHop::Source::Rdap;
        // Some registries echo the name above their "free": that is no record.
        if (!number && !rdap && hop.role == LookupHop::Role::Registry && WhoisFacts::saysNotRegistered(hop.text)) {
            notRegisteredBy = hop.server;
            continue;
        }
        const RecordFacts facts = rdap ? RdapFacts::read(hop.json) : WhoisFacts::read(hop.text);
        // A record of another name, such as IANA's of the TLD above a name
        // it holds no record of, says nothing of this one.
        if (!number && !facts.domain.isEmpty() && !isQueriedName(facts.domain, queried))
            continue;
        if (number ? facts.hasNumberFacts() : facts.hasDomainFacts())
            merge(merged, facts, hop);
    }
    if (merged.from.isEmpty()) {
        if (notRegisteredBy.isEmpty())
            return {};
        return field(tr("Not registered"), tr("%1 has no record of %2.").arg(notRegisteredBy, queried));
    }
    return tr("Key facts for %1").arg(queried) + u'\n'
        + (number ? numberLines(merged) : domainLines(merged, now))
        + field(tr("From"), merged.from.join(QLatin1String(", ")));
}
