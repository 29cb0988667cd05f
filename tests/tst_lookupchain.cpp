// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Marrowby Industries

#include "ClosedPort.h"
#include "FakeHttpServer.h"
#include "FakeWhoisServer.h"
#include "LoopbackResolver.h"
#include "RepliesOnly.h"
#include "TestMain.h"

#include "query/LookupChain.h"
#include "query/RdapBootstrap.h"
#include "query/WhoisClient.h"
#include "common/Failure.h"

#include <QNetworkAccessManager>
#include <QNetworkRequest>

using namespace std::chrono_literals;

namespace {
const QByteArray RegistryReply = "   Domain Name: MARROWBY.COM\r\n"
                                 "   Registrar WHOIS Server: whois.registrar.test\r\n"
                                 ">>> Last update of whois database: 2026-12-08T00:00:00Z <<<\r\n";
const QString RegistryText = QStringLiteral("   Domain Name: MARROWBY.COM\n"
                                            "   Registrar WHOIS Server: whois.registrar.test\n"
                                            ">>> Last update of whois database: 2026-12-08T00:00:00Z <<<\n");

QByteArray rdapRecord(const QByteArray &name, const QUrl &related = {})
{
    QByteArray links;
    if (related.isValid())
        links = json(", 'links': [{'rel': 'related', 'type': 'application/rdap+json', 'href': '")
            + related.toEncoded() + "\"}]";
    return json("{'objectClassName': 'domain', 'ldhName': '") + name + "\"" + links + "}";
}

// Sends what is asked of one host to a loopback server instead, so that a
// service from the built-in table is reached without leaving the machine.
class DivertingNetwork : public QNetworkAccessManager
{
public:
    DivertingNetwork(const QString &host, const QUrl &loopback)
        : m_host(host)
        , m_loopback(loopback)
    {
    }

protected:
    QNetworkReply *createRequest(Operation op, const QNetworkRequest &request, QIODevice *data) override
    {
        if (request.url().host() != m_host)
            return QNetworkAccessManager::createRequest(op, request, data);
        QUrl url = request.url();
        url.setScheme(m_loopback.scheme());
        url.setHost(m_loopback.host());
        url.setPort(m_loopback.port());
        QNetworkRequest diverted = request;
        diverted.setUrl(url);
        return QNetworkAccessManager::createRequest(op, diverted, data);
    }

private:
    QString m_host;
    QUrl m_loopback;
};

// A registry, a registrar, IANA, another TLD's registry and an RDAP
// service, all on loopback, behind the names the lookup uses.
struct Servers {
    FakeWhoisServer registry;
    FakeWhoisServer registrar;
    FakeWhoisServer iana;
    FakeWhoisServer tld;
    FakeHttpServer rdap;
    std::shared_ptr<LoopbackResolver> resolver = std::make_shared<LoopbackResolver>();
    // Long enough that a busy machine never reaches them.
    ConnectionLimits limits{60s, 60s, 1024 * 1024};

    Servers()
    {
        resolver->add(QStringLiteral("whois.internic.net"), registry.port())
            .add(QStringLiteral("whois.iana.org"), iana.port())
            .add(QStringLiteral("whois.nic.example"), tld.port());
        registrarAt(registrar.port());
        rdap.route("/dns.json", 200,
                   json("{'version': '1.0', 'services': [[['com', 'example'], ['")
                       + rdap.url("/rdap/").toEncoded() + "\"]]]}");
    }

    void registrarAt(quint16 port) { resolver->add(QStringLiteral("whois.registrar.test"), port); }

    std::unique_ptr<WhoisClient> client() const
    {
        return std::make_unique<WhoisClient>(QStringLiteral("whois.internic.net"), 43, resolver,
                                             rdap.url("/dns.json"), limits);
    }

    QString lookup(const QString &domain) const
    {
        const auto whois = client();
        whois->lookup(domain);
        return repliesOnly(whois->replyText());
    }
};

// The chain itself, for what the component does not hand out.
struct Chain {
    QNetworkAccessManager network;
    RdapBootstrap bootstrap;
    StopRequest stop;
    LookupChain chain;

    explicit Chain(const Servers &servers, std::chrono::milliseconds lookupLimit = 120s)
        : chain({QStringLiteral("whois.internic.net"), 43, *servers.resolver, network, bootstrap,
                 servers.rdap.url("/dns.json"), servers.limits, stop, lookupLimit})
    {
    }
};

QStringList hopServers(const QList<LookupHop> &hops)
{
    QStringList servers;
    for (const LookupHop &hop : hops)
        servers.append(hop.server);
    return servers;
}
} // namespace

class TestLookupChain : public QObject
{
    Q_OBJECT

private slots:
    void comNameShowsRegistryThenRegistrar_data();
    void comNameShowsRegistryThenRegistrar();
    void otherTldGoesThroughIana();
    void unicodeNameIsSentInAceForm_data();
    void unicodeNameIsSentInAceForm();
    void unicodeNameWithoutAceFormFails();
    void closedRegistrarIsReplacedByRdap();
    void rdapRedirectsMeetTheLinkRule();
    void laterWhoisFailuresKeepWhatCameBefore_data();
    void laterWhoisFailuresKeepWhatCameBefore();
    void tldMissingFromTheBootstrap_data();
    void tldMissingFromTheBootstrap();
    void rdapFailuresAreNamed_data();
    void rdapFailuresAreNamed();
    void referralsThatAreNotFollowed_data();
    void referralsThatAreNotFollowed();
    void atMostFourServersAreAsked();
    void firstServerFailureGoesOnByRdap_data();
    void firstServerFailureGoesOnByRdap();
    void rdapLinksThatAreNotFollowed_data();
    void rdapLinksThatAreNotFollowed();
    void registryIsAskedItsWay_data();
    void registryIsAskedItsWay();
    void numberGoesToItsRegionalRegistry_data();
    void numberGoesToItsRegionalRegistry();
    void numbersNoServerWouldReadAsMeantAreRefused_data();
    void numbersNoServerWouldReadAsMeantAreRefused();
    void regionalRegistryReferrals_data();
    void regionalRegistryReferrals();
    void laterHopsShareTheLookupsTime();
    void registrarsReferOn();
    void throttledServersAreNamed_data();
    void throttledServersAreNamed();
};

void TestLookupChain::comNameShowsRegistryThenRegistrar_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QByteArray>("referral");
    QTest::newRow("spaces around the name") << QStringLiteral("  marrowby.com ") << QByteArray("Whois Server: whois.registrar.test");
    QTest::newRow("final dot") << QStringLiteral("marrowby.com.") << QByteArray("   Registrar WHOIS Server: whois.registrar.test");
}

void TestLookupChain::comNameShowsRegistryThenRegistrar()
{
    QFETCH(QString, typed);
    QFETCH(QByteArray, referral);
    Servers servers;
    const QByteArray registry = "Domain Name: MARROWBY.COM\r\n" + referral + "\r\n";
    servers.registry.send(registry).close();
    servers.registrar.send("Registrant Name: Jo Holder\r\n").close();

    const QString text = servers.lookup(typed);
    QCOMPARE(servers.registry.received(), QByteArray("domain marrowby.com\r\n"));
    QCOMPARE(servers.registrar.received(), QByteArray("marrowby.com\r\n"));
    QCOMPARE(text, QString::fromLatin1(registry).replace(QLatin1String("\r\n"), QLatin1String("\n"))
                       + QStringLiteral("\n--- Reply from whois.registrar.test ---\nRegistrant Name: Jo Holder\n"));
    QCOMPARE(servers.iana.connections(), 0);
}

void TestLookupChain::otherTldGoesThroughIana()
{
    Servers servers;
    servers.registry.send("No match for \"MARROWBY.EXAMPLE\".\r\n").close();
    servers.iana.send("% IANA WHOIS server\n% for more information on IANA, visit http://www.iana.org\n\n"
                      "refer:        whois.nic.example\n\ndomain:       EXAMPLE\n").close();
    servers.tld.send("Domain: marrowby.example\nRegistrar WHOIS Server: whois.registrar.test\n").close();
    servers.registrar.send("Registrant: Jo Holder\n").close();

    const QString text = servers.lookup(QStringLiteral("marrowby.example"));
    QCOMPARE(servers.iana.received(), QByteArray("marrowby.example\r\n"));
    QCOMPARE(servers.tld.received(), QByteArray("marrowby.example\r\n"));
    QCOMPARE(servers.registrar.received(), QByteArray("marrowby.example\r\n"));
    const QStringList order = {QStringLiteral("No match for"), QStringLiteral("--- Reply from whois.iana.org ---"),
                               QStringLiteral("--- Reply from whois.nic.example ---\nDomain: marrowby.example"),
                               QStringLiteral("--- Reply from whois.registrar.test ---\nRegistrant: Jo Holder")};
    qsizetype at = -1;
    for (const QString &part : order) {
        const qsizetype found = text.indexOf(part);
        QVERIFY2(found > at, qPrintable(part + QLatin1String(" in\n") + text));
        at = found;
    }
    QVERIFY(servers.rdap.requests().isEmpty());
}

void TestLookupChain::unicodeNameIsSentInAceForm_data()
{
    QTest::addColumn<QString>("typed");
    QTest::newRow("typed in Unicode") << QStringLiteral("b\u00FCcher.example");
    QTest::newRow("typed in ACE form") << QStringLiteral("xn--bcher-kva.example");
}

void TestLookupChain::unicodeNameIsSentInAceForm()
{
    QFETCH(QString, typed);
    Servers servers;
    servers.registry.send("No match for \"XN--BCHER-KVA.EXAMPLE\".\r\n").close();
    servers.iana.send("refer: whois.nic.example\n").close();
    servers.tld.send("Domain: xn--bcher-kva.example\n").close();

    const QString text = servers.lookup(typed);
    QCOMPARE(servers.registry.received(), QByteArray("domain xn--bcher-kva.example\r\n"));
    QCOMPARE(servers.iana.received(), QByteArray("xn--bcher-kva.example\r\n"));
    QCOMPARE(servers.tld.received(), QByteArray("xn--bcher-kva.example\r\n"));
    // Both forms once, so a name in the replies can be matched by eye.
    QVERIFY2(text.startsWith(QStringLiteral("--- xn--bcher-kva.example is the ASCII (ACE) form of b\u00FCcher.example. ---\n"
                                            "No match for")),
             qPrintable(text));
}

void TestLookupChain::unicodeNameWithoutAceFormFails()
{
    Servers servers;
    const auto whois = servers.client();
    const QString name = QStringLiteral("b\u00FCcher") + QString(64, u'a') + QStringLiteral(".com");
    try {
        whois->lookup(name);
        QFAIL("a name with a label longer than 63 has no ACE form");
    } catch (const Failure &e) {
        QVERIFY2(e.description().contains(QLatin1String("not a valid international domain name")),
                 qPrintable(e.description()));
    }
    // A connection the refused name had opened would be accepted first.
    servers.registry.send(RegistryReply).close();
    servers.lookup(QStringLiteral("=marrowby.com"));
    QCOMPARE(servers.registry.received(), QByteArray("=marrowby.com\r\n"));
}

void TestLookupChain::closedRegistrarIsReplacedByRdap()
{
    Servers servers;
    const ClosedPort registrar;
    servers.registrarAt(registrar.port());
    servers.registry.send(RegistryReply).close();
    servers.rdap.route("/rdap/domain/marrowby.com", 302, {},
                       "Location: " + servers.rdap.url("/registry/domain/marrowby.com").toEncoded() + "\r\n");
    servers.rdap.route("/registry/domain/marrowby.com", 200,
                       rdapRecord("MARROWBY.COM", servers.rdap.url("/registrar/domain/marrowby.com")));
    servers.rdap.route("/registrar/domain/marrowby.com", 200,
                       json("{'ldhName': 'marrowby.com', 'entities': [{'roles': ['registrant'],\n"
"                           'vcardArray': ['vcard', [['fn', {}, 'text', 'Jo Holder']]]}]}"));

    const auto whois = servers.client();
    whois->lookup(QStringLiteral("marrowby.com"));
    const QString rdapUrl = servers.rdap.url("/rdap/domain/marrowby.com").toString();
    const QString registryUrl = servers.rdap.url("/registry/domain/marrowby.com").toString();
    const QString registrarUrl = servers.rdap.url("/registrar/domain/marrowby.com").toString();
    const QString whole = whois->replyText();
    // The facts lead, set apart from the first reply by its own header.
    QVERIFY2(whole.startsWith(QLatin1String("Key facts for marrowby.com\n")), qPrintable(whole));
    QVERIFY2(whole.contains(QLatin1String("\n\n--- Reply from whois.internic.net ---\n") + RegistryText), qPrintable(whole));
    // The section line names the server that sent the record, and where the request went first.
    QCOMPARE(repliesOnly(whole),
             RegistryText
                 + QStringLiteral("\n--- The WHOIS server whois.registrar.test refused the connection. ---\n"
                                  "\n--- RDAP %1, redirected from\n    %2 ---\nDomain Name: MARROWBY.COM\n"
                                  "\n--- RDAP %3 ---\nDomain Name: marrowby.com\nRegistrant: Jo Holder\n")
                       .arg(registryUrl, rdapUrl, registrarUrl));

    for (const FakeHttpServer::Request &request : servers.rdap.requests()) {
        if (request.path != "/dns.json")
            QCOMPARE(request.accept, QByteArray("application/rdap+json"));
    }

    // The bootstrap file is fetched once a run, not once a lookup.
    whois->lookup(QStringLiteral("marrowby.com"));
    QCOMPARE(servers.rdap.count("/dns.json"), 1);
    QCOMPARE(servers.rdap.count("/rdap/domain/marrowby.com"), 2);
}

void TestLookupChain::laterWhoisFailuresKeepWhatCameBefore_data()
{
    QTest::addColumn<QString>("failure");
    QTest::addColumn<QString>("note");

    QTest::newRow("silence") << QStringLiteral("silence") << QStringLiteral("sent nothing for 3 seconds");
    QTest::newRow("reset") << QStringLiteral("reset") << QStringLiteral("reset the connection");
    QTest::newRow("unresolved") << QStringLiteral("unresolved") << QStringLiteral("its name did not resolve");
    QTest::newRow("too large") << QStringLiteral("flood") << QStringLiteral("is larger than");
}

void TestLookupChain::laterWhoisFailuresKeepWhatCameBefore()
{
    QFETCH(QString, failure);
    QFETCH(QString, note);

    Servers servers;
    servers.limits = {60s, failure == QLatin1String("silence") ? 3s : 60s, 4096};
    servers.registry.send(RegistryReply).close();
    if (failure == QLatin1String("silence"))
        servers.registrar.send("Registrant: ");
    else if (failure == QLatin1String("reset"))
        servers.registrar.reset();
    else if (failure == QLatin1String("unresolved"))
        servers.resolver->remove(QStringLiteral("whois.registrar.test"));
    else
        servers.registrar.send(QByteArray(5000, 'x')).close();
    servers.rdap.route("/rdap/domain/marrowby.com", 200, rdapRecord("MARROWBY.COM"));

    const QString text = servers.lookup(QStringLiteral("marrowby.com"));
    // One note names the server and the reason, right after the registry's reply.
    const QString line = text.mid(RegistryText.size()).section(u'\n', 1, 2).simplified();
    QVERIFY2(text.startsWith(RegistryText), qPrintable(text));
    QVERIFY2(line.contains(QLatin1String("whois.registrar.test")) && line.contains(note), qPrintable(line));
    QVERIFY2(!text.contains(QLatin1String("Registrant: ")), qPrintable(text));
    QVERIFY2(text.endsWith(QLatin1String("Domain Name: MARROWBY.COM\n")), qPrintable(text));
}

void TestLookupChain::tldMissingFromTheBootstrap_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("end");

    QTest::newRow("RDAP service from the built-in table")
        << QStringLiteral("marrowby.de")
        // The diverted request reads as a redirect to loopback.
        << QStringLiteral("redirected from https://rdap.denic.de/domain/marrowby.de ---\nDomain Name: marrowby.de\n");
    QTest::newRow("web-only registry")
        << QStringLiteral("marrowby.gr")
        << QStringLiteral("--- No RDAP service is known for marrowby.gr, and its registry has no WHOIS server; look it "
                          "up on the registry's web page: https://grweb.ics.forth.gr/public/whois ---");
    QTest::newRow("neither") << QStringLiteral("marrowby.example")
                             << QStringLiteral("--- No RDAP service is known for marrowby.example. ---");
}

void TestLookupChain::tldMissingFromTheBootstrap()
{
    QFETCH(QString, typed);
    QFETCH(QString, end);

    Servers servers;
    const QByteArray tld = typed.section(u'.', -1).toUpper().toLatin1();
    servers.registry.send("No match for \"" + typed.toUpper().toLatin1() + "\".\r\n").close();
    servers.iana.send("domain:       " + tld + "\n\nnserver:      A.NIC." + tld + " 192.0.2.53\nwhois:\n").close();
    servers.rdap.route("/dns.json", 200, json("{'services': [[['com'], ['https://rdap.nic.example/']]]}"));
    servers.rdap.route("/domain/marrowby.de", 200, rdapRecord("marrowby.de"));
    DivertingNetwork network(QStringLiteral("rdap.denic.de"), servers.rdap.url("/"));
    RdapBootstrap bootstrap;
    StopRequest stop;
    LookupChain chain({QStringLiteral("whois.internic.net"), 43, *servers.resolver, network, bootstrap,
                       servers.rdap.url("/dns.json"), servers.limits, stop});

    const QString text = repliesOnly(chain.run(typed));
    QVERIFY2(text.simplified().endsWith(end.simplified()), qPrintable(text));
    QCOMPARE(servers.tld.connections(), 0);
}

void TestLookupChain::rdapFailuresAreNamed_data()
{
    QTest::addColumn<int>("status");
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<QString>("note");

    QTest::newRow("404") << 404 << QByteArray(json("{'errorCode': 404}")) << QStringLiteral(": not found at 127.0.0.1. ---");
    QTest::newRow("bad JSON") << 200 << QByteArray(json("{'ldhName': '"))
                              << QStringLiteral(": the RDAP reply is not valid JSON");
    QTest::newRow("server error") << 500 << QByteArray("oops") << QStringLiteral(": the server answered HTTP 500. ---");
}

void TestLookupChain::rdapFailuresAreNamed()
{
    QFETCH(int, status);
    QFETCH(QByteArray, body);
    QFETCH(QString, note);

    Servers servers;
    const ClosedPort registrar;
    servers.registrarAt(registrar.port());
    servers.registry.send(RegistryReply).close();
    servers.rdap.route("/rdap/domain/marrowby.com", status, body);

    const QString text = servers.lookup(QStringLiteral("marrowby.com"));
    QVERIFY(text.startsWith(RegistryText));
    const QString expected = QLatin1String("--- RDAP ") + servers.rdap.url("/rdap/domain/marrowby.com").toString() + note;
    QVERIFY2(text.simplified().contains(expected), qPrintable(text));
}

void TestLookupChain::referralsThatAreNotFollowed_data()
{
    QTest::addColumn<QByteArray>("server");
    QTest::addColumn<QString>("note");

    QTest::newRow("other port") << QByteArray("whois.registrar.test:4343")
                                << QStringLiteral("The referral to \"whois.registrar.test:4343\" was not followed");
    QTest::newRow("loop to the first server") << QByteArray("whois.internic.net")
                                              << QStringLiteral("whois.internic.net was not asked again");
}

void TestLookupChain::referralsThatAreNotFollowed()
{
    QFETCH(QByteArray, server);
    QFETCH(QString, note);

    Servers servers;
    servers.registry.send("Domain Name: MARROWBY.COM\nRegistrar WHOIS Server: " + server + "\n").close();
    const QString text = servers.lookup(QStringLiteral("marrowby.com"));
    QVERIFY2(text.simplified().contains(note), qPrintable(text));
    QCOMPARE(servers.registry.connections(), 1);
    QCOMPARE(servers.registrar.connections(), 0);
    QVERIFY(servers.rdap.requests().isEmpty());
}

void TestLookupChain::atMostFourServersAreAsked()
{
    Servers servers;
    const ClosedPort registrar;
    servers.registrarAt(registrar.port());
    servers.registry.send("No match for \"MARROWBY.EXAMPLE\".\r\n").close();
    servers.iana.send("refer: whois.nic.example\n").close();
    servers.tld.send("Domain: marrowby.example\nRegistrar WHOIS Server: whois.registrar.test\n").close();

    const QString text = servers.lookup(QStringLiteral("marrowby.example"));
    QVERIFY2(text.contains(QLatin1String("refused the connection")), qPrintable(text));
    QVERIFY2(text.endsWith(QLatin1String("--- RDAP was not asked: a lookup asks at most 4 servers. ---\n")),
             qPrintable(text));
    QVERIFY(servers.rdap.requests().isEmpty());
}

void TestLookupChain::firstServerFailureGoesOnByRdap_data()
{
    QTest::addColumn<QString>("failure");
    QTest::addColumn<int>("status");

    QTest::newRow("refused, RDAP has the record") << QStringLiteral("refused the connection") << 200;
    QTest::newRow("reset before any data, RDAP has the record") << QStringLiteral("reset") << 200;
    QTest::newRow("refused, RDAP has nothing") << QStringLiteral("refused the connection") << 404;
}

void TestLookupChain::firstServerFailureGoesOnByRdap()
{
    const ClosedPort closed;
    QFETCH(QString, failure);
    QFETCH(int, status);

    Servers servers;
    if (failure == QLatin1String("reset"))
        servers.registry.reset();
    else
        servers.resolver->add(QStringLiteral("whois.internic.net"), closed.port());
    servers.rdap.route("/rdap/domain/marrowby.com", status, rdapRecord("MARROWBY.COM"));
    const QString rdapUrl = servers.rdap.url("/rdap/domain/marrowby.com").toString();

    const auto whois = servers.client();
    QString description;
    try {
        whois->lookup(QStringLiteral("marrowby.com"));
    } catch (const Failure &e) {
        description = e.description();
    }
    const QString firstFailure = QStringLiteral("The WHOIS server whois.internic.net");
    if (status == 200) {
        const QString whole = whois->replyText();
        // RDAP's record gives the facts that lead the text.
        QVERIFY2(whole.startsWith(QLatin1String("Key facts for marrowby.com\nDomain:        MARROWBY.COM\n")),
                 qPrintable(whole));
        const QString text = repliesOnly(whole);
        QVERIFY2(description.isEmpty(), qPrintable(description));
        QVERIFY2(text.startsWith(QLatin1String("--- ") + firstFailure) && text.section(u'\n', 0, 0).contains(failure),
                 qPrintable(text));
        QVERIFY2(text.endsWith(QStringLiteral("looked up by RDAP instead. ---\n\n--- RDAP %1 ---\n"
                                              "Domain Name: MARROWBY.COM\n").arg(rdapUrl)),
                 qPrintable(text));
    } else {
        QVERIFY2(description.startsWith(firstFailure) && description.contains(failure), qPrintable(description));
        QVERIFY2(description.endsWith(QStringLiteral("RDAP could not help either: RDAP %1: not found at 127.0.0.1.")
                                          .arg(rdapUrl)),
                 qPrintable(description));
        QCOMPARE(whois->replyText(), QString());
    }
}

void TestLookupChain::rdapRedirectsMeetTheLinkRule()
{
    const ClosedPort closed;
    // A redirect to plain HTTP on a server the program was not given is a
    // link the rule refuses, wherever it comes from.
    Servers servers;
    FakeHttpServer elsewhere;
    elsewhere.route("/domain/marrowby.com", 200, rdapRecord("MARROWBY.COM", {}));
    servers.registrarAt(closed.port());
    servers.registry.send(RegistryReply).close();
    servers.rdap.route("/rdap/domain/marrowby.com", 302, {},
                       "Location: " + elsewhere.url("/domain/marrowby.com").toEncoded() + "\r\n");

    const QString text = servers.lookup(QStringLiteral("marrowby.com"));
    QVERIFY2(text.simplified().endsWith(QStringLiteral("redirected the request to \"%1\", which is not followed. ---")
                                            .arg(elsewhere.url("/domain/marrowby.com").toString())),
             qPrintable(text));
    QCOMPARE(elsewhere.requests().size(), 0);
}

void TestLookupChain::rdapLinksThatAreNotFollowed_data()
{
    QTest::addColumn<QString>("link");
    QTest::addColumn<bool>("fromBootstrap");

    QTest::newRow("plain http") << QStringLiteral("http://rdap.registrar.test/domain/marrowby.com") << false;
    QTest::newRow("other port") << QStringLiteral("https://rdap.registrar.test:8443/domain/marrowby.com") << false;
    QTest::newRow("address host") << QStringLiteral("https://192.0.2.1/domain/marrowby.com") << false;
    QTest::newRow("bootstrap base over http") << QStringLiteral("http://rdap.nic.example/domain/marrowby.com") << true;
}

void TestLookupChain::rdapLinksThatAreNotFollowed()
{
    const ClosedPort closed;
    QFETCH(QString, link);
    QFETCH(bool, fromBootstrap);

    Servers servers;
    servers.registrarAt(closed.port());
    servers.registry.send(RegistryReply).close();
    if (fromBootstrap)
        servers.rdap.route("/dns.json", 200, json("{'services': [[['com'], ['http://rdap.nic.example/']]]}"));
    servers.rdap.route("/rdap/domain/marrowby.com", 200, rdapRecord("MARROWBY.COM", QUrl(link)));

    const QString text = servers.lookup(QStringLiteral("marrowby.com"));
    // Notes are broken over lines to fit the box.
    QVERIFY2(text.simplified().endsWith(QStringLiteral("--- The RDAP link \"%1\" was not followed: only https links "
                                                       "to a host name on the standard port are followed. ---")
                                            .arg(link)),
             qPrintable(text));
    QCOMPARE(servers.rdap.requests().size(), fromBootstrap ? 1 : 2);
}

void TestLookupChain::registryIsAskedItsWay_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("server");
    QTest::addColumn<QByteArray>("firstWire");
    QTest::addColumn<QByteArray>("wire");

    QTest::newRow("JPRS in English") << QStringLiteral("marrowby.jp") << QStringLiteral("whois.jprs.jp")
                                     << QByteArray("domain marrowby.jp") << QByteArray("marrowby.jp/e");
    QTest::newRow("DENIC, spaces around") << QStringLiteral(" marrowby.de  ") << QStringLiteral("whois.denic.de")
                                          << QByteArray("domain marrowby.de") << QByteArray("-T dn,ace marrowby.de");
    QTest::newRow("Punktum dk") << QStringLiteral("marrowby.dk") << QStringLiteral("whois.punktum.dk")
                                   << QByteArray("domain marrowby.dk") << QByteArray("--show-handles marrowby.dk");
    QTest::newRow("any other registry") << QStringLiteral("marrowby.example") << QStringLiteral("whois.nic.example")
                                        << QByteArray("domain marrowby.example") << QByteArray("marrowby.example");
}

void TestLookupChain::registryIsAskedItsWay()
{
    QFETCH(QString, typed);
    QFETCH(QString, server);
    QFETCH(QByteArray, firstWire);
    QFETCH(QByteArray, wire);

    Servers servers;
    servers.resolver->add(server, servers.tld.port());
    servers.registry.send("No match for \"" + typed.trimmed().toUpper().toLatin1() + "\".\r\n").close();
    servers.iana.send("refer: " + server.toLatin1() + "\n").close();
    servers.tld.send("Domain: " + typed.trimmed().toLatin1() + "\n").close();

    const QString text = servers.lookup(typed);
    QCOMPARE(servers.registry.received(), firstWire + "\r\n");
    QCOMPARE(servers.iana.connections(), 1);
    QCOMPARE(servers.tld.received(), wire + "\r\n");
    QVERIFY2(text.endsWith(QLatin1String("--- Reply from ") + server + QLatin1String(" ---\nDomain: ") + typed.trimmed()
                           + u'\n'),
             qPrintable(text));
}

void TestLookupChain::numberGoesToItsRegionalRegistry_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QByteArray>("normal"); // what the first server and IANA are sent
    QTest::addColumn<QString>("registry"); // empty: port 43 is refused and RDAP is the route
    QTest::addColumn<QByteArray>("wire");
    QTest::addColumn<QByteArray>("bootstrap");
    QTest::addColumn<QByteArray>("entry");
    QTest::addColumn<QByteArray>("path");
    QTest::addColumn<QString>("note");

    const QString arin = QStringLiteral("whois.arin.net");
    const QString ripe = QStringLiteral("whois.ripe.net");
    QTest::newRow("IPv4, ARIN's network form") << QStringLiteral("192.0.2.1") << QByteArray("192.0.2.1") << arin
                                               << QByteArray("n + 192.0.2.1") << QByteArray() << QByteArray()
                                               << QByteArray() << QString();
    QTest::newRow("IPv4, leading zeros are decimal")
        << QStringLiteral("010.001.002.003") << QByteArray("10.1.2.3") << arin << QByteArray("n + 10.1.2.3")
        << QByteArray() << QByteArray() << QByteArray() << QString();
    QTest::newRow("prefix with host bits, ARIN")
        << QStringLiteral("192.0.2.1/24") << QByteArray("192.0.2.0/24") << arin << QByteArray("n + 192.0.2.0/24")
        << QByteArray() << QByteArray() << QByteArray()
        << QStringLiteral("192.0.2.1/24 has host bits set; it was looked up as the network 192.0.2.0/24.");
    QTest::newRow("IPv6, plain") << QStringLiteral(" 2001:DB8:0::1 ") << QByteArray("2001:db8::1") << ripe
                                 << QByteArray("2001:db8::1") << QByteArray() << QByteArray() << QByteArray()
                                 << QString();
    QTest::newRow("AS, ARIN's AS form") << QStringLiteral("AS64496") << QByteArray("AS64496") << arin
                                        << QByteArray("a + 64496") << QByteArray() << QByteArray() << QByteArray()
                                        << QString();
    QTest::newRow("ASN with a space, plain") << QStringLiteral("asn 64500") << QByteArray("AS64500") << ripe
                                             << QByteArray("AS64500") << QByteArray() << QByteArray()
                                             << QByteArray() << QString();
    QTest::newRow("asdot") << QStringLiteral("ASN 1.2") << QByteArray("AS65538") << arin << QByteArray("a + 65538")
                           << QByteArray() << QByteArray() << QByteArray() << QString();
    QTest::newRow("IPv4 by RDAP") << QStringLiteral("192.0.2.1") << QByteArray("192.0.2.1") << QString()
                                  << QByteArray() << QByteArray("/ipv4.json") << QByteArray("192.0.0.0/8")
                                  << QByteArray("/rdap/ip/192.0.2.1") << QString();
    // The WHOIS and the RDAP route of one lookup ask for the same address.
    QTest::newRow("leading zeros by RDAP") << QStringLiteral("010.001.002.003") << QByteArray("10.1.2.3") << QString()
                                           << QByteArray() << QByteArray("/ipv4.json") << QByteArray("10.0.0.0/8")
                                           << QByteArray("/rdap/ip/10.1.2.3") << QString();
    QTest::newRow("prefix by RDAP") << QStringLiteral("192.0.2.0/24") << QByteArray("192.0.2.0/24") << QString()
                                    << QByteArray() << QByteArray("/ipv4.json") << QByteArray("192.0.2.0/24")
                                    << QByteArray("/rdap/ip/192.0.2.0/24") << QString();
    QTest::newRow("host bits by RDAP")
        << QStringLiteral("2001:db8::1/32") << QByteArray("2001:db8::/32") << QString() << QByteArray()
        << QByteArray("/ipv6.json") << QByteArray("2001:db8::/32") << QByteArray("/rdap/ip/2001:db8::/32")
        << QStringLiteral("2001:db8::1/32 has host bits set; it was looked up as the network 2001:db8::/32.");
    QTest::newRow("IPv6 by RDAP") << QStringLiteral("2001:db8::1") << QByteArray("2001:db8::1") << QString()
                                  << QByteArray() << QByteArray("/ipv6.json") << QByteArray("2001:db8::/32")
                                  << QByteArray("/rdap/ip/2001:db8::1") << QString();
    QTest::newRow("AS by RDAP") << QStringLiteral("AS64496") << QByteArray("AS64496") << QString() << QByteArray()
                                << QByteArray("/asn.json") << QByteArray("64496-64511")
                                << QByteArray("/rdap/autnum/64496") << QString();
    QTest::newRow("asdot by RDAP") << QStringLiteral("as65535.65535") << QByteArray("AS4294967295") << QString()
                                   << QByteArray() << QByteArray("/asn.json") << QByteArray("4294967295-4294967295")
                                   << QByteArray("/rdap/autnum/4294967295") << QString();
}

void TestLookupChain::numberGoesToItsRegionalRegistry()
{
    const ClosedPort closed;
    QFETCH(QString, typed);
    QFETCH(QByteArray, normal);
    QFETCH(QString, registry);
    QFETCH(QByteArray, wire);
    QFETCH(QByteArray, bootstrap);
    QFETCH(QByteArray, entry);
    QFETCH(QByteArray, path);
    QFETCH(QString, note);

    Servers servers;
    const QByteArray noMatch = "No match for \"" + normal + "\".\r\n";
    servers.registry.send(noMatch).close();
    if (registry.isEmpty()) {
        servers.resolver->add(QStringLiteral("whois.iana.org"), closed.port());
        // A range of another registry first, so the longest match has to be found.
        servers.rdap.route(bootstrap, 200,
                           json("{'services': [[['0.0.0.0/0', '::/0', '1-4294967295'], ['https://other.rdap.test/']],"
                                " [['") + entry + "\"], [\"" + servers.rdap.url("/rdap/").toEncoded() + "\"]]]}");
        servers.rdap.route(path, 200, json("{'objectClassName': 'ip network', 'handle': 'NET-1'}"));
    } else {
        servers.resolver->add(registry, servers.tld.port());
        servers.iana.send("refer: " + registry.toLatin1() + "\n").close();
        servers.tld.send("NetName: MARROWBY-NET\n").close();
    }

    const QString text = servers.lookup(typed);
    QCOMPARE(servers.registry.received(), normal + "\r\n");
    // A changed prefix is said above the first reply.
    const QString first = QString::fromLatin1(noMatch).replace(QLatin1String("\r\n"), QLatin1String("\n"));
    QVERIFY2(note.isEmpty() ? text.startsWith(first) && !text.contains(QLatin1String("host bits"))
                            : text.simplified().startsWith(QLatin1String("--- ") + note),
             qPrintable(text));
    QVERIFY2(text.contains(first), qPrintable(text));
    if (registry.isEmpty()) {
        const QString header = QLatin1String("--- RDAP ") + servers.rdap.url(path).toString() + QLatin1String(" ---");
        QVERIFY2(text.contains(header), qPrintable(text));
        QCOMPARE(servers.rdap.count(path), 1);
    } else {
        QCOMPARE(servers.iana.received(), normal + "\r\n");
        QCOMPARE(servers.tld.received(), wire + "\r\n");
        QVERIFY2(text.endsWith(QLatin1String("--- Reply from ") + registry + QLatin1String(" ---\nNetName: MARROWBY-NET\n")),
                 qPrintable(text));
    }
}

void TestLookupChain::numbersNoServerWouldReadAsMeantAreRefused_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("reason");

    const QString notIpv4 = QStringLiteral("write an address as four decimal numbers");
    QTest::newRow("hex") << QStringLiteral("0x7f.1.1.1") << notIpv4;
    QTest::newRow("octal past 255 as decimal") << QStringLiteral("0300.0.0.1") << notIpv4;
    QTest::newRow("short form") << QStringLiteral("127.1") << notIpv4;
    QTest::newRow("short prefix") << QStringLiteral("10.0/8") << notIpv4;
    QTest::newRow("zone index in a prefix") << QStringLiteral("fe80::1%eth0/64") << QStringLiteral("zone index (\"%eth0\")");
    QTest::newRow("zone index in an address") << QStringLiteral("fe80::1%2") << QStringLiteral("zone index");
    QTest::newRow("prefix too long") << QStringLiteral("192.0.2.0/33") << QStringLiteral("runs from 0 to 32");
    QTest::newRow("asdot part over 65535") << QStringLiteral("AS1.65536") << QStringLiteral("from 0 to 65535");
    QTest::newRow("AS over 32 bits") << QStringLiteral("AS4294967296") << QStringLiteral("from 0 to 4294967295");
}

void TestLookupChain::numbersNoServerWouldReadAsMeantAreRefused()
{
    QFETCH(QString, typed);
    QFETCH(QString, reason);
    Servers servers;
    const auto whois = servers.client();
    try {
        whois->lookup(typed);
        QFAIL("the number was looked up");
    } catch (const Failure &e) {
        QVERIFY2(e.description().startsWith(u'"' + typed + u'"') && e.description().contains(reason),
                 qPrintable(e.description()));
    }
    // A connection the refused number had opened would be accepted first.
    servers.registry.send(RegistryReply).close();
    servers.lookup(QStringLiteral("=marrowby.com"));
    QCOMPARE(servers.registry.received(), QByteArray("=marrowby.com\r\n"));
}

void TestLookupChain::regionalRegistryReferrals_data()
{
    QTest::addColumn<QByteArray>("referral");
    QTest::addColumn<int>("asked");
    QTest::addColumn<QString>("end");

    QTest::newRow("whois scheme") << QByteArray("whois://whois.ripe.net") << 1
                                  << QStringLiteral("--- Reply from whois.ripe.net ---\ninetnum: 192.0.2.0 - 192.0.2.255\n");
    QTest::newRow("rwhois on another port")
        << QByteArray("rwhois://rwhois.example.net:4321") << 0
        << QStringLiteral("--- The referral to \"rwhois://rwhois.example.net:4321\" was not followed: only host names "
                          "on the WHOIS port are asked. ---\n");
}

void TestLookupChain::regionalRegistryReferrals()
{
    QFETCH(QByteArray, referral);
    QFETCH(int, asked);
    QFETCH(QString, end);

    Servers servers;
    servers.resolver->add(QStringLiteral("whois.arin.net"), servers.tld.port())
        .add(QStringLiteral("whois.ripe.net"), servers.registrar.port());
    servers.registry.send("No match for \"192.0.2.1\".\r\n").close();
    servers.iana.send("refer: whois.arin.net\n").close();
    servers.tld.send("NetRange: 192.0.2.0 - 192.0.2.255\nReferralServer: " + referral + "\n").close();
    servers.registrar.send("inetnum: 192.0.2.0 - 192.0.2.255\n").close();

    const QString text = servers.lookup(QStringLiteral("192.0.2.1"));
    QVERIFY2(text.simplified().endsWith(end.simplified()), qPrintable(text));
    QCOMPARE(servers.registrar.connections(), asked);
    QCOMPARE(servers.registrar.received(), asked ? QByteArray("192.0.2.1\r\n") : QByteArray());
    QCOMPARE(servers.tld.received(), QByteArray("n + 192.0.2.1\r\n"));
}

void TestLookupChain::laterHopsShareTheLookupsTime()
{
    Servers servers;
    servers.registry.send(RegistryReply).close();
    servers.registrar.send("Registrant: "); // and then nothing, for longer than the lookup may take
    Chain lookup(servers, 3s);

    const QString text = repliesOnly(lookup.chain.run(QStringLiteral("marrowby.com")));
    QVERIFY2(text.startsWith(RegistryText), qPrintable(text));
    QVERIFY2(text.simplified().endsWith(QLatin1String("was not asked: a lookup ends after 3 seconds. ---")),
             qPrintable(text));
    QVERIFY(servers.rdap.requests().isEmpty());
}

void TestLookupChain::registrarsReferOn()
{
    Servers servers;
    servers.resolver->add(QStringLiteral("whois.reseller.test"), servers.tld.port());
    servers.registry.send(RegistryReply).close();
    servers.registrar.send("Registrar WHOIS Server: whois.reseller.test\r\nRegistrant: see the reseller\r\n").close();
    // A registrar names its own server too; that is no further referral.
    servers.tld.send("Registrar WHOIS Server: whois.reseller.test\r\nRegistrant: Jo Holder\r\n").close();
    Chain lookup(servers);

    const QString text = repliesOnly(lookup.chain.run(QStringLiteral("marrowby.com")));
    QCOMPARE(servers.tld.received(), QByteArray("marrowby.com\r\n"));
    QVERIFY2(text.endsWith(QLatin1String("\n--- Reply from whois.reseller.test ---\n"
                                         "Registrar WHOIS Server: whois.reseller.test\nRegistrant: Jo Holder\n")),
             qPrintable(text));
    const QList<LookupHop> &hops = lookup.chain.hops();
    QCOMPARE(hopServers(hops), QStringList({QStringLiteral("whois.internic.net"), QStringLiteral("whois.registrar.test"),
                                            QStringLiteral("whois.reseller.test")}));
    QCOMPARE(hops.at(0).text, RegistryText);
    QCOMPARE(hops.at(0).role, LookupHop::Role::Registry);
    QCOMPARE(hops.at(2).role, LookupHop::Role::Registrar);
    QVERIFY(servers.rdap.requests().isEmpty());
}

void TestLookupChain::throttledServersAreNamed_data()
{
    QTest::addColumn<QByteArray>("registrarReply"); // empty: the registrar refuses port 43
    QTest::addColumn<int>("status");
    QTest::addColumn<QByteArray>("headers");
    QTest::addColumn<QString>("kept");
    QTest::addColumn<QString>("note");

    QTest::newRow("WHOIS, RDAP has the record")
        << QByteArray("Please go away for 13 Seconds\r\n") << 200 << QByteArray() << QStringLiteral("Please go away for 13 Seconds")
        << QStringLiteral("The WHOIS server whois.registrar.test limits how often it may be asked, so its reply above "
                          "is no record. Try again in 13 seconds.");
    QTest::newRow("RDAP 429 with Retry-After")
        << QByteArray() << 429 << QByteArray("Retry-After: 50\r\n") << QStringLiteral("Too Many Requests")
        << QStringLiteral("The RDAP server 127.0.0.1 limits how often it may be asked (HTTP 429), so it sent no record. "
                          "Try again in 50 seconds.");
}

void TestLookupChain::throttledServersAreNamed()
{
    const ClosedPort closed;
    QFETCH(QByteArray, registrarReply);
    QFETCH(int, status);
    QFETCH(QByteArray, headers);
    QFETCH(QString, kept);
    QFETCH(QString, note);

    Servers servers;
    servers.registry.send(RegistryReply).close();
    if (registrarReply.isEmpty())
        servers.registrarAt(closed.port());
    else
        servers.registrar.send(registrarReply).close();
    const QByteArray body = status == 200 ? rdapRecord("MARROWBY.COM")
                                          : json("{'errorCode': 429, 'title': 'Too Many Requests'}");
    servers.rdap.route("/rdap/domain/marrowby.com", status, body, headers);
    Chain lookup(servers);

    // What the server sent stays, and the note follows it at once.
    const QString text = repliesOnly(lookup.chain.run(QStringLiteral("marrowby.com"))).simplified();
    QVERIFY2(text.contains(kept + QLatin1String(" --- ") + note + QLatin1String(" ---")), qPrintable(text));
    QCOMPARE(text.endsWith(QLatin1String("Domain Name: MARROWBY.COM")), status == 200);
    const QList<LookupHop> &hops = lookup.chain.hops();
    QVERIFY(!hops.isEmpty() && !hops.at(0).throttled);
    QCOMPARE(hops.at(1).throttled, true);
    QCOMPARE(hops.at(1).source, registrarReply.isEmpty() ? LookupHop::Source::Rdap : LookupHop::Source::Whois);
}

HOLDRIN_TEST_MAIN(TestLookupChain)
#include "tst_lookupchain.moc"
