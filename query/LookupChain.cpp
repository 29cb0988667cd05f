// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Marrowby Industries

#include "query/LookupChain.h"

#include "query/HttpGetter.h"
#include "query/KnownRdapServices.h"
#include "query/LookupStopped.h"
#include "query/NoteLines.h"
#include "query/QueryForms.h"
#include "query/RdapRenderer.h"
#include "query/ReplyDecoder.h"
#include "query/SecondLevelRegistries.h"
#include "query/WebOnlyRegistries.h"
#include "common/Failure.h"

#include <QRegularExpression>

namespace {
const QString IanaServer = QStringLiteral("whois.iana.org");
constexpr quint16 WhoisPort = 43;
const QByteArray RdapType = QByteArrayLiteral("application/rdap+json");
// A hop with less time left than this could not connect and answer anyway.
constexpr std::chrono::seconds ShortestHop{1};

bool isAscii(const QString &text)
{
    return std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 0x80; });
}

// Names with a space, "=" or "~" are searches in the first server's own
// query language, not domain names: they get no further hops.
bool isPlainName(const QString &name)
{
    return !name.isEmpty() && name.contains(u'.')
        && !name.contains(u' ') && !name.contains(u'=') && !name.contains(u'~');
}

// InterNIC holds com, net and edu itself; its "No match" for another TLD
// only means the name lives elsewhere.
bool belongsElsewhere(const QString &reply, const QString &name)
{
    static const QRegularExpression noMatch(QStringLiteral("^\\s*No match for"),
                                            QRegularExpression::CaseInsensitiveOption
                                                | QRegularExpression::MultilineOption);
    const QString tld = name.section(u'.', -1).toLower();
    return tld != QLatin1String("com") && tld != QLatin1String("net") && tld != QLatin1String("edu")
        && noMatch.match(reply).hasMatch();
}

// A header or note on lines of its own, set apart from what text holds by
// an empty line.
QString noteLine(const QString &text, const QString &sentence)
{
    QLatin1String start;
    if (!text.isEmpty())
        start = text.endsWith(u'\n') ? QLatin1String("\n") : QLatin1String("\n\n");
    return start + NoteLines::framed(sentence) + u'\n';
}
} // namespace

LookupChain::LookupChain(const Services &services)
    : m_services(services)
{
}

QString LookupChain::aceName(const QString &typed)
{
    if (isAscii(typed))
        return typed;
    const QByteArray ace = QUrl::toAce(typed);
    if (ace.isEmpty())
        throw Failure(tr("\"%1\" is not a valid international domain name: it has no ASCII (ACE) "
                              "form that a WHOIS server could be asked for.")
                              .arg(typed));
    return QString::fromLatin1(ace);
}

QString LookupChain::firstQuery(const QString &ace)
{
    // Without the keyword a registry of this kind searches every record
    // type, and a name can come back as a list of name servers.
    if (ace.count(u'.') == 1 && isPlainName(ace))
        return QLatin1String("domain ") + ace;
    return ace;
}

QString LookupChain::run(const QString &typed)
{
    // Spaces around a name or number are no part of it; a text with spaces
    // inside is a search and goes out as typed.
    const QString trimmed = typed.trimmed();
    m_number = NumberResource::parse(trimmed);
    m_name = aceName(isNumber() || isPlainName(trimmed) ? trimmed : typed);
    m_deadline.setRemainingTime(m_services.lookupLimit);
    m_asked.insert(m_services.firstHost.toLower());
    m_hops = 1;

    try {
        m_text = askWhoisServer(m_services.firstHost, m_services.firstPort, firstQuery(m_name));
    } catch (const LookupStopped &) {
        throw;
    } catch (const Failure &e) {
        return firstServerFailed(e.description());
    }
    ++m_records;

    if (isNumber())
        askIana();
    else if (isPlainName(m_name))
        followName();
    return m_text;
}

QString LookupChain::firstServerFailed(const QString &description)
{
    // A search has no RDAP form, and a component given no bootstrap file
    // has no second route: the first server's failure is the lookup's.
    const bool rdapFits = isNumber() || isPlainName(m_name);
    if (!rdapFits || m_services.bootstrapUrl.isEmpty())
        throw Failure(description);

    note(tr("%1 The record below was looked up by RDAP instead.").arg(description));
    const qsizetype firstRdapNote = m_notes.size();
    askRdap();
    if (m_records == 0)
        throw Failure(description + u' '
                      + tr("RDAP could not help either: %1").arg(m_notes.mid(firstRdapNote).join(u' ')));
    return m_text;
}

void LookupChain::followName()
{
    const QString below = SecondLevelRegistries::serverFor(m_name);
    if (!below.isEmpty())
        askRegistry({below, below});
    else if (!followReferral(m_text) && belongsElsewhere(m_text, m_name))
        askIana();
}

bool LookupChain::followReferral(const QString &reply)
{
    const ReferralParser::Referral next = isNumber() ? ReferralParser::registryReferral(reply)
                                                     : ReferralParser::registrarServer(reply);
    if (next.raw.isEmpty())
        return false;
    QString nextReply;
    if (askWhois(next, &nextReply) == Outcome::Failed)
        askRdap();
    return true;
}

void LookupChain::askIana()
{
    QString ianaReply;
    const Outcome iana = askWhois({IanaServer, IanaServer}, &ianaReply);
    if (iana == Outcome::Failed) {
        askRdap();
        return;
    }
    if (iana != Outcome::Answered)
        return;

    const ReferralParser::Referral registry = ReferralParser::ianaRefer(ianaReply);
    if (!registry.raw.isEmpty()) {
        askRegistry(registry);
        return;
    }
    // IANA's reply without a referral is the record for what IANA holds
    // itself (.int and .arpa names, reserved address space); otherwise the
    // TLD has no port-43 service at all.
    const bool ianaHoldsIt = isNumber()
        || ReferralParser::ianaDomain(ianaReply).compare(m_name, Qt::CaseInsensitive) == 0;
    if (!ianaHoldsIt)
        askRdap();
}

void LookupChain::askRegistry(const ReferralParser::Referral &registry)
{
    QString reply;
    const Outcome asked = askWhois(registry, &reply);
    if (asked == Outcome::Answered)
        followReferral(reply);
    else if (asked == Outcome::Failed)
        askRdap();
}

LookupChain::Outcome LookupChain::askWhois(const ReferralParser::Referral &referral, QString *reply)
{
    if (referral.host.isEmpty()) {
        note(tr("The referral to \"%1\" was not followed: only host names on "
                                         "the WHOIS port are asked.")
                 .arg(referral.raw));
        return Outcome::NotAsked;
    }
    if (!mayAsk(referral.host, referral.host))
        return Outcome::NotAsked;

    const QString query = QueryForms::query(referral.host, m_number.kind(), isNumber() ? m_number.value() : m_name,
                                            isNumber() ? m_number.whoisQuery() : m_name);
    try {
        *reply = askWhoisServer(referral.host, WhoisPort, query);
    } catch (const LookupStopped &) {
        throw;
    } catch (const Failure &e) {
        note(e.description());
        return Outcome::Failed;
    }
    ++m_records;
    appendHop(tr("Reply from %1").arg(referral.host), *reply);
    return Outcome::Answered;
}

void LookupChain::askRdap()
{
    if (m_rdapTried)
        return;
    m_rdapTried = true;
    // The bootstrap file is no hop, but is not worth fetching when no hop is left.
    if (hopLimitReached(QStringLiteral("RDAP")))
        return;

    using Registry = RdapBootstrap::Registry;
    const RdapBootstrap &bootstrap = m_services.bootstrap;
    QUrl base;
    QString path;
    QString shown = m_name;
    if (!isNumber()) {
        if (!loadBootstrap(Registry::Dns))
            return;
        base = bootstrap.baseFor(m_name);
        // Many registries run RDAP without an entry in IANA's file.
        if (!base.isValid())
            base = KnownRdapServices::baseFor(m_name);
        path = QLatin1String("domain/") + m_name;
    } else if (m_number.kind() == NumberResource::Kind::Asn) {
        if (!loadBootstrap(Registry::Asn))
            return;
        base = bootstrap.baseForAsn(m_number.asn());
        path = m_number.rdapPath();
        shown = m_number.whoisQuery();
    } else {
        const bool v4 = m_number.address().protocol() == QAbstractSocket::IPv4Protocol;
        if (!loadBootstrap(v4 ? Registry::Ipv4 : Registry::Ipv6))
            return;
        base = bootstrap.baseForAddress(m_number.address(), m_number.prefixLength());
        path = m_number.rdapPath();
    }
    if (!base.isValid() || base.isEmpty()) {
        const QUrl page = isNumber() ? QUrl() : WebOnlyRegistries::pageFor(m_name);
        if (page.isValid())
            note(tr("No RDAP service is known for %1, and its registry has no WHOIS server; look it up on "
                    "the registry's web page: %2")
                     .arg(shown, page.toString()));
        else
            note(tr("No RDAP service is known for %1.").arg(shown));
        return;
    }
    // Appended to the path rather than resolved, so the colons of an IPv6
    // address cannot be read as a scheme.
    QUrl url = base;
    url.setPath(base.path() + path);
    const QUrl related = rdapHop(url);
    if (related.isValid() && !related.isEmpty())
        rdapHop(related);
}

bool LookupChain::loadBootstrap(RdapBootstrap::Registry registry)
{
    RdapBootstrap &bootstrap = m_services.bootstrap;
    if (bootstrap.isLoaded(registry))
        return true;
    const QUrl url = registry == RdapBootstrap::Registry::Dns
        ? m_services.bootstrapUrl
        : m_services.bootstrapUrl.resolved(QUrl(RdapBootstrap::fileName(registry)));
    QString error;
    try {
        const HttpGetter::Response response = httpGet(url, "application/json");
        if (response.status != 200)
            error = QStringLiteral("HTTP %1").arg(response.status);
        else
            bootstrap.load(response.body, &error, registry);
    } catch (const LookupStopped &) {
        throw;
    } catch (const Failure &e) {
        error = e.description();
    }
    if (error.isEmpty())
        return true;
    note(tr("The RDAP bootstrap file %1 could not be read: %2").arg(url.toString(), error));
    return false;
}

QUrl LookupChain::rdapHop(const QUrl &url)
{
    const QString shown = url.toString();
    if (!mayFollowRdap(url))
        return {};
    if (!mayAsk(QLatin1String("rdap ") + url.toString(QUrl::RemoveFragment), QLatin1String("RDAP ") + shown))
        return {};

    HttpGetter::Response response;
    try {
        response = httpGet(url, RdapType);
    } catch (const LookupStopped &) {
        throw;
    } catch (const Failure &e) {
        note(tr("RDAP %1: %2").arg(shown, e.description()));
        return {};
    }
    if (response.status == 404) {
        note(tr("RDAP %1: not found at %2.").arg(shown, url.host()));
        return {};
    }
    if (response.status < 200 || response.status > 299) {
        note(tr("RDAP %1: the server answered HTTP %2.")
                 .arg(shown)
                 .arg(response.status));
        return {};
    }
    const RdapRenderer::Result record = RdapRenderer::render(response.body);
    if (!record.error.isEmpty()) {
        note(tr("RDAP %1: %2.").arg(shown, record.error));
        return {};
    }
    ++m_records;
    appendHop(QLatin1String("RDAP ") + shown, record.text);
    if (record.relatedHref.isEmpty())
        return {};
    return response.url.resolved(QUrl(record.relatedHref));
}

bool LookupChain::mayFollowRdap(const QUrl &url)
{
    if (isFollowableRdap(url))
        return true;
    note(tr("The RDAP link \"%1\" was not followed: only https links to a host name on the "
            "standard port are followed.")
             .arg(url.toString()));
    return false;
}

bool LookupChain::isFollowableRdap(const QUrl &url) const
{
    // The bootstrap file's server is the one the program was given, not one
    // a reply named, so its own scheme and port stand (a test's plain-HTTP
    // server on loopback); every other link meets the host rule over https.
    const QUrl &given = m_services.bootstrapUrl;
    const bool givenServer = !given.isEmpty() && url.scheme() == given.scheme() && url.host() == given.host()
        && url.port() == given.port();
    return givenServer || ReferralParser::isFollowableRdapUrl(url);
}

HttpGetter::Response LookupChain::httpGet(const QUrl &url, const QByteArray &accept) const
{
    // A redirect is a link like any other: it meets the same rule.
    HttpGetter getter(m_services.network, hopLimits(), m_services.stop);
    return getter.get(url, accept, [this](const QUrl &target) { return isFollowableRdap(target); });
}

bool LookupChain::mayAsk(const QString &key, const QString &what)
{
    if (m_asked.contains(key.toLower())) {
        note(tr("%1 was not asked again: it was asked earlier in this lookup.")
                 .arg(what));
        return false;
    }
    if (hopLimitReached(what))
        return false;
    m_asked.insert(key.toLower());
    ++m_hops;
    return true;
}

bool LookupChain::hopLimitReached(const QString &what)
{
    if (m_hops >= MaxHops) {
        note(tr("%1 was not asked: a lookup asks at most %2 servers.").arg(what).arg(MaxHops));
        return true;
    }
    if (m_deadline.remainingTimeAsDuration() < ShortestHop) {
        note(tr("%1 was not asked: a lookup ends after %2 seconds.")
                 .arg(what, ConnectionLimits::inSeconds(m_services.lookupLimit)));
        return true;
    }
    return false;
}

bool LookupChain::isNumber() const
{
    return m_number.kind() != NumberResource::Kind::None;
}

ConnectionLimits LookupChain::hopLimits() const
{
    ConnectionLimits limits = m_services.limits;
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(m_deadline.remainingTimeAsDuration());
    limits.connectTimeout = std::min(limits.connectTimeout, left);
    limits.idleTimeout = std::min(limits.idleTimeout, left);
    limits.exchangeTimeout = std::min(limits.exchangeTimeout, left);
    return limits;
}

QString LookupChain::askWhoisServer(const QString &host, quint16 port, const QString &query) const
{
    WhoisConnection connection(m_services.resolver, hopLimits(), m_services.stop);
    WhoisConnection::Reply reply = connection.exchange(host, port, query.toUtf8() + "\r\n");
    // Moved, so that the line breaks are mended in place, not in a copy.
    QString text = ReplyDecoder::decode(std::move(reply.bytes));
    if (reply.reset)
        text += noteLine(text, tr("The WHOIS server %1 reset the connection, so its reply above may be incomplete.")
                                   .arg(host));
    return text;
}

void LookupChain::appendHop(const QString &header, const QString &body)
{
    m_text += noteLine(m_text, header) + body;
}

void LookupChain::note(const QString &sentence)
{
    m_notes.append(sentence);
    appendHop(sentence, {});
}
