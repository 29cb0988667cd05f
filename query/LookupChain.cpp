// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Marrowby Industries

#include "query/LookupChain.h"

#include "query/HttpGetter.h"
#include "query/KeyFacts.h"
#include "query/KnownRdapServices.h"
#include "query/LookupStopped.h"
#include "query/NoteLines.h"
#include "query/QueryForms.h"
#include "query/RdapRenderer.h"
#include "query/ReplyDecoder.h"
#include "query/WebOnlyRegistries.h"
#include "common/Failure.h"

#include <QDateTime>

namespace {
constexpr quint16 WhoisPort = 43;
const QByteArray RdapType = QByteArrayLiteral("application/rdap+json");
// A hop with less time left than this could not connect and answer anyway.
constexpr std::chrono::seconds ShortestHop{1};

// Below this an answer is copied into the lookup's text as it is.
constexpr qsizetype TakeOverFrom = 64 * 1024;

// A header or note on lines of its own, set apart from what text holds by
// an empty line.
QString noteLine(const QString &text, const QString &sentence)
{
    QLatin1String start;
    if (!text.isEmpty())
        start = text.endsWith(u'\n') ? QLatin1String("\n") : QLatin1String("\n\n");
    return start + NoteLines::framed(sentence) + u'\n';
}

QString tryAgain(const ThrottleDetector::Throttle &throttle)
{
    if (!throttle.retryAfter)
        return LookupChain::tr("Try again later.");
    const qint64 seconds = throttle.retryAfter->count();
    return seconds == 1 ? LookupChain::tr("Try again in 1 second.")
                        : LookupChain::tr("Try again in %1 seconds.").arg(seconds);
}
} // namespace

LookupChain::LookupChain(const Services &services)
    : m_services(services)
{
}

const QList<LookupHop> &LookupChain::hops() const
{
    return m_hops;
}

QString LookupChain::firstQuery() const
{
    // Without the keyword a registry of this kind searches every record
    // type, and a name can come back as a list of name servers.
    if (m_target.kind == Route::Target::Kind::Name && m_target.name.count(u'.') == 1)
        return QLatin1String("domain ") + m_target.name;
    return m_target.name;
}

QString LookupChain::run(const QString &typed)
{
    m_target = Route::target(typed);
    m_deadline.setRemainingTime(m_services.lookupLimit);
    m_asked.insert(m_services.firstHost.toLower());
    m_serversAsked = 1;
    noteUnicodeForm();
    if (m_target.number.hadHostBits())
        note(tr("%1 has host bits set; it was looked up as the network %2.")
                 .arg(m_target.number.typed(), m_target.number.value()));

    Route::Hop first;
    try {
        first = askWhoisServer(Route::Server::First, m_services.firstHost, m_services.firstPort, firstQuery(), {});
    } catch (const LookupStopped &) {
        throw;
    } catch (const Failure &e) {
        return firstServerFailed(e.description());
    }
    // The hop goes with it: a reply it still shared could not be taken over.
    follow(std::move(first));
    return replyText();
}

QString LookupChain::firstServerFailed(const QString &description)
{
    // A search has no RDAP form, and a component given no bootstrap file
    // has no second route: the first server's failure is the lookup's.
    const Route::Hop failed{Route::Server::First, m_services.firstHost, Route::Outcome::Failed, {}};
    if (Route::next(m_target, failed).action != Route::Action::AskRdap || m_services.bootstrapUrl.isEmpty())
        throw Failure(description);

    note(tr("%1 The record below was looked up by RDAP instead.").arg(description));
    const qsizetype firstRdapEntry = m_entries.size();
    askRdap();
    if (m_records == 0) {
        QStringList rdapNotes;
        for (const Entry &entry : m_entries.mid(firstRdapEntry))
            if (entry.hop < 0)
                rdapNotes << entry.line;
        throw Failure(description + u' ' + tr("RDAP could not help either: %1").arg(rdapNotes.join(u' ')));
    }
    return replyText();
}

void LookupChain::follow(Route::Hop last)
{
    // Each server is asked once and at most four in all, so this ends.
    for (;;) {
        const Route::Step step = Route::next(m_target, last);
        if (step.action == Route::Action::AskRdap)
            askRdap();
        if (step.action != Route::Action::AskWhois)
            return;
        last = askWhois(step.server, step.referral);
    }
}

Route::Hop LookupChain::askWhois(Route::Server server, const ReferralParser::Referral &referral)
{
    const Route::Hop notAsked{server, referral.host, Route::Outcome::NotAsked, {}};
    if (referral.host.isEmpty()) {
        note(tr("The referral to \"%1\" was not followed: only host names on "
                                         "the WHOIS port are asked.")
                 .arg(referral.raw));
        return notAsked;
    }
    if (!mayAsk(referral.host, referral.host))
        return notAsked;

    const NumberResource &number = m_target.number;
    const QString query = QueryForms::query(referral.host, number.kind(), isNumber() ? number.value() : m_target.name,
                                            isNumber() ? number.whoisQuery() : m_target.name);
    try {
        return askWhoisServer(server, referral.host, WhoisPort, query, tr("Reply from %1").arg(referral.host));
    } catch (const LookupStopped &) {
        throw;
    } catch (const Failure &e) {
        note(e.description());
        return {server, referral.host, Route::Outcome::Failed, {}};
    }
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
    const NumberResource &number = m_target.number;
    QUrl base;
    QString path;
    QString shown = m_target.name;
    if (!isNumber()) {
        if (!loadBootstrap(Registry::Dns))
            return;
        base = bootstrap.baseFor(m_target.name);
        // Many registries run RDAP without an entry in IANA's file.
        if (!base.isValid())
            base = KnownRdapServices::baseFor(m_target.name);
        path = QLatin1String("domain/") + m_target.name;
    } else if (number.kind() == NumberResource::Kind::Asn) {
        if (!loadBootstrap(Registry::Asn))
            return;
        base = bootstrap.baseForAsn(number.asn());
        path = number.rdapPath();
        shown = number.whoisQuery();
    } else {
        const bool v4 = number.address().protocol() == QAbstractSocket::IPv4Protocol;
        if (!loadBootstrap(v4 ? Registry::Ipv4 : Registry::Ipv6))
            return;
        base = bootstrap.baseForAddress(number.address(), number.prefixLength());
        path = number.rdapPath();
    }
    if (!base.isValid() || base.isEmpty()) {
        const QUrl page = isNumber() ? QUrl() : WebOnlyRegistries::pageFor(m_target.name);
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
    const QUrl related = rdapHop(url, LookupHop::Role::Registry);
    if (related.isValid() && !related.isEmpty())
        rdapHop(related, LookupHop::Role::Registrar);
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

QUrl LookupChain::rdapHop(const QUrl &url, LookupHop::Role role)
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
    // After a redirect the record came from elsewhere: the header names both.
    const QUrl served = response.url.isEmpty() ? url : response.url;
    const QString header = served == url ? QLatin1String("RDAP ") + shown
                                         : tr("RDAP %1, redirected from %2").arg(served.toString(), shown);
    LookupHop hop;
    hop.source = LookupHop::Source::Rdap;
    hop.role = role;
    hop.server = served.toString();

    const ThrottleDetector::Throttle throttle =
        ThrottleDetector::http(response.status, response.retryAfter, QDateTime::currentDateTimeUtc());
    if (throttle.throttled) {
        // What the server said is kept, rendered where it is an RDAP error object.
        RdapRenderer::Result said = RdapRenderer::render(response.body);
        hop.text = said.error.isEmpty() ? std::move(said.text) : ReplyDecoder::decode(response.body);
        hop.json = std::move(response.body);
        hop.throttled = true;
        addHop(std::move(hop), header);
        noteThrottle(tr("The RDAP server %1 limits how often it may be asked (HTTP %2), so it sent no record.")
                         .arg(served.host())
                         .arg(response.status),
                     throttle);
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
    RdapRenderer::Result record = RdapRenderer::render(response.body);
    if (!record.error.isEmpty()) {
        note(tr("RDAP %1: %2.").arg(shown, record.error));
        return {};
    }
    ++m_records;
    hop.text = std::move(record.text);
    hop.json = std::move(response.body);
    addHop(std::move(hop), header);
    if (record.relatedHref.isEmpty())
        return {};
    return served.resolved(QUrl(record.relatedHref));
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
    ++m_serversAsked;
    return true;
}

bool LookupChain::hopLimitReached(const QString &what)
{
    if (m_serversAsked >= MaxHops) {
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
    return m_target.kind == Route::Target::Kind::Number;
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

Route::Hop LookupChain::askWhoisServer(Route::Server server, const QString &host, quint16 port,
                                       const QString &query, const QString &header)
{
    WhoisConnection connection(m_services.resolver, hopLimits(), m_services.stop);
    WhoisConnection::Reply reply = connection.exchange(host, port, query.toUtf8() + "\r\n");
    LookupHop hop;
    hop.server = host;
    hop.text = ReplyDecoder::decode(reply.bytes);
    const ThrottleDetector::Throttle throttle = ThrottleDetector::whois(hop.text);
    hop.throttled = throttle.throttled;
    // Shares the text with the hop kept below.
    const Route::Hop answered{server, host, throttle.throttled ? Route::Outcome::Throttled : Route::Outcome::Answered,
                              hop.text};
    hop.role = Route::role(m_target, answered);
    addHop(std::move(hop), header);
    if (reply.reset)
        note(tr("The WHOIS server %1 reset the connection, so its reply above may be incomplete.").arg(host));
    if (throttle.throttled)
        noteThrottle(tr("The WHOIS server %1 limits how often it may be asked, so its reply above is no record.")
                         .arg(host),
                     throttle);
    else
        ++m_records;
    return answered;
}

void LookupChain::addHop(LookupHop hop, const QString &header)
{
    // A server that limits queries and sent no text leaves only its note.
    if (!hop.text.isEmpty() || !hop.throttled)
        m_entries.append({header, m_hops.size()});
    m_hops.append(std::move(hop));
}

void LookupChain::note(const QString &sentence)
{
    m_entries.append({sentence, -1});
}

void LookupChain::noteThrottle(const QString &limitsQueries, const ThrottleDetector::Throttle &throttle)
{
    // Asking again at once would only prolong the limit, so the lookup does not.
    note(limitsQueries + u' ' + tryAgain(throttle));
}

void LookupChain::noteUnicodeForm()
{
    if (m_target.kind != Route::Target::Kind::Name)
        return;
    if (!m_target.name.contains(QLatin1String("xn--"), Qt::CaseInsensitive))
        return;
    // Empty where a label is no valid ACE form.
    const QString unicode = QUrl::fromAce(m_target.name.toLatin1(), QUrl::IgnoreIDNWhitelist);
    if (!unicode.isEmpty() && unicode.compare(m_target.name, Qt::CaseInsensitive) != 0)
        note(tr("%1 is the ASCII (ACE) form of %2.").arg(m_target.name, unicode));
}

QString LookupChain::replyText()
{
    // The key facts lead; the first reply then gets a header of its own,
    // so that where the block ends is plain.
    const QString facts = KeyFacts::summary(m_target.name, m_hops, QDateTime::currentDateTime());

    // A lone answer is handed on as it is: the text is shared, not copied.
    if (facts.isEmpty() && m_entries.size() == 1 && m_entries.front().line.isEmpty() && m_entries.front().hop >= 0)
        return m_hops.at(m_entries.front().hop).text;

    // The longest answer, when long, is taken over rather than copied: what
    // stands before it goes into the room the decoder left at its front,
    // and what follows into the room after it.
    qsizetype longest = -1;
    for (qsizetype i = 0; i < m_entries.size(); ++i) {
        const qsizetype hop = m_entries.at(i).hop;
        if (hop >= 0 && m_hops.at(hop).text.size() >= TakeOverFrom
            && (longest < 0 || m_hops.at(hop).text.size() > m_hops.at(m_entries.at(longest).hop).text.size()))
            longest = i;
    }
    QString text = facts;
    const auto addLine = [&](const Entry &entry) {
        QString line = entry.line;
        if (line.isEmpty() && entry.hop >= 0 && !facts.isEmpty())
            line = tr("Reply from %1").arg(m_hops.at(entry.hop).server);
        if (!line.isEmpty())
            text += noteLine(text, line);
    };
    if (longest < 0) {
        qsizetype size = facts.size();
        for (const Entry &entry : m_entries)
            size += 2 * entry.line.size() + 16 + (entry.hop >= 0 ? m_hops.at(entry.hop).text.size() : 0);
        text.reserve(size);
    }
    for (qsizetype i = 0; i < m_entries.size(); ++i) {
        const Entry &entry = m_entries.at(i);
        addLine(entry);
        if (i == longest)
            text = std::exchange(m_hops[entry.hop].text, {}).prepend(text);
        else if (entry.hop >= 0)
            text += m_hops.at(entry.hop).text;
    }
    return text;
}
