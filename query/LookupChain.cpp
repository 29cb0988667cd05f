#include "query/LookupChain.h"

#include "query/HttpGetter.h"
#include "query/RdapBootstrap.h"
#include "query/RdapRenderer.h"
#include "query/ReplyDecoder.h"
#include "ui/Failure.h"

#include <QRegularExpression>

namespace {
const QString IanaServer = QStringLiteral("whois.iana.org");
constexpr quint16 WhoisPort = 43;
const QByteArray RdapType = QByteArrayLiteral("application/rdap+json");

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
    m_name = aceName(typed);
    m_text = askWhoisServer(m_services.firstHost, m_services.firstPort, firstQuery(m_name));
    m_asked.insert(m_services.firstHost.toLower());
    m_hops = 1;

    if (!isPlainName(m_name))
        return m_text;
    if (!followRegistrar(m_text) && belongsElsewhere(m_text, m_name))
        askIana();
    return m_text;
}

bool LookupChain::followRegistrar(const QString &reply)
{
    const ReferralParser::Referral registrar = ReferralParser::registrarServer(reply);
    if (registrar.raw.isEmpty())
        return false;
    QString registrarReply;
    if (askWhois(registrar, &registrarReply) == Outcome::Failed)
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
    if (registry.raw.isEmpty()) {
        // The TLD has no port-43 service at all.
        askRdap();
        return;
    }
    QString registryReply;
    const Outcome asked = askWhois(registry, &registryReply);
    if (asked == Outcome::Answered)
        followRegistrar(registryReply);
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

    try {
        *reply = askWhoisServer(referral.host, WhoisPort, m_name);
    } catch (const Failure &e) {
        note(e.description());
        return Outcome::Failed;
    }
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

    RdapBootstrap &bootstrap = m_services.bootstrap;
    if (!bootstrap.isLoaded()) {
        QString error;
        try {
            HttpGetter getter(m_services.network, m_services.limits, m_services.stop);
            const HttpGetter::Response response = getter.get(m_services.bootstrapUrl, "application/json");
            if (response.status != 200)
                error = QStringLiteral("HTTP %1").arg(response.status);
            else
                bootstrap.load(response.body, &error);
        } catch (const Failure &e) {
            error = e.description();
        }
        if (!error.isEmpty()) {
            note(tr("The RDAP bootstrap file %1 could not be read: %2")
                     .arg(m_services.bootstrapUrl.toString(), error));
            return;
        }
    }

    const QUrl base = bootstrap.baseFor(m_name);
    if (!base.isValid() || base.isEmpty()) {
        note(tr("No RDAP service is known for %1.").arg(m_name));
        return;
    }
    const QUrl related = rdapHop(base.resolved(QUrl(QLatin1String("domain/") + m_name)));
    if (related.isValid() && !related.isEmpty())
        rdapHop(related);
}

QUrl LookupChain::rdapHop(const QUrl &url)
{
    const QString shown = url.toString();
    if (!mayAsk(QLatin1String("rdap ") + url.toString(QUrl::RemoveFragment), QLatin1String("RDAP ") + shown))
        return {};

    HttpGetter::Response response;
    try {
        HttpGetter getter(m_services.network, m_services.limits, m_services.stop);
        response = getter.get(url, RdapType);
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
    appendHop(QLatin1String("RDAP ") + shown, record.text);
    if (record.relatedHref.isEmpty())
        return {};
    const QUrl related = response.url.resolved(QUrl(record.relatedHref));
    const bool web = related.scheme() == QLatin1String("https") || related.scheme() == QLatin1String("http");
    return web ? related : QUrl();
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
    if (m_hops < MaxHops)
        return false;
    note(tr("%1 was not asked: a lookup asks at most %2 servers.").arg(what).arg(MaxHops));
    return true;
}

QString LookupChain::askWhoisServer(const QString &host, quint16 port, const QString &query) const
{
    WhoisConnection connection(m_services.resolver, m_services.limits, m_services.stop);
    return ReplyDecoder::decode(connection.exchange(host, port, query.toUtf8() + "\r\n"));
}

void LookupChain::appendHop(const QString &header, const QString &body)
{
    if (!m_text.isEmpty() && !m_text.endsWith(u'\n'))
        m_text += u'\n';
    m_text += QLatin1String("\n--- ") + header + QLatin1String(" ---\n") + body;
}

void LookupChain::note(const QString &sentence)
{
    appendHop(sentence, {});
}
