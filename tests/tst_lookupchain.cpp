#include "ClosedPort.h"
#include "FakeHttpServer.h"
#include "FakeWhoisServer.h"
#include "LoopbackResolver.h"
#include "TestMain.h"

#include "query/WhoisClient.h"
#include "ui/Failure.h"

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
        return whois->replyText();
    }
};
} // namespace

class TestLookupChain : public QObject
{
    Q_OBJECT

private slots:
    void comNameShowsRegistryThenRegistrar_data();
    void comNameShowsRegistryThenRegistrar();
    void searchesGetNoFurtherHops();
    void otherTldGoesThroughIana();
    void unicodeNameIsSentInAceForm();
    void unicodeNameWithoutAceFormFails();
    void closedRegistrarIsReplacedByRdap();
    void laterWhoisFailuresKeepWhatCameBefore_data();
    void laterWhoisFailuresKeepWhatCameBefore();
    void tldWithoutPort43GoesToRdap();
    void rdapFailuresAreNamed_data();
    void rdapFailuresAreNamed();
    void referralsThatAreNotFollowed_data();
    void referralsThatAreNotFollowed();
    void atMostFourServersAreAsked();
};

void TestLookupChain::comNameShowsRegistryThenRegistrar_data()
{
    QTest::addColumn<QByteArray>("referral");
    QTest::newRow("registrar spelling, indented") << QByteArray("   Registrar WHOIS Server: whois.registrar.test");
    QTest::newRow("older spelling") << QByteArray("Whois Server: whois.registrar.test");
    QTest::newRow("scheme, port 43 and slash") << QByteArray("Registrar WHOIS Server: whois://whois.registrar.test:43/");
}

void TestLookupChain::comNameShowsRegistryThenRegistrar()
{
    QFETCH(QByteArray, referral);
    Servers servers;
    const QByteArray registry = "Domain Name: MARROWBY.COM\r\n" + referral + "\r\n";
    servers.registry.send(registry).close();
    servers.registrar.send("Registrant Name: Jo Holder\r\n").close();

    const QString text = servers.lookup(QStringLiteral("marrowby.com"));
    QCOMPARE(servers.registry.received(), QByteArray("domain marrowby.com\r\n"));
    QCOMPARE(servers.registrar.received(), QByteArray("marrowby.com\r\n"));
    QCOMPARE(text, QString::fromLatin1(registry).replace(QLatin1String("\r\n"), QLatin1String("\n"))
                       + QStringLiteral("\n--- Reply from whois.registrar.test ---\nRegistrant Name: Jo Holder\n"));
    QCOMPARE(servers.iana.connections(), 0);
}

void TestLookupChain::searchesGetNoFurtherHops()
{
    Servers servers;
    servers.registry.send(RegistryReply).close();
    QCOMPARE(servers.lookup(QStringLiteral("=marrowby.com")), RegistryText);
    QCOMPARE(servers.registry.received(), QByteArray("=marrowby.com\r\n"));
    QCOMPARE(servers.registrar.connections(), 0);
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

void TestLookupChain::unicodeNameIsSentInAceForm()
{
    Servers servers;
    servers.registry.send("No match for \"XN--BCHER-KVA.EXAMPLE\".\r\n").close();
    servers.iana.send("refer: whois.nic.example\n").close();
    servers.tld.send("Domain: xn--bcher-kva.example\n").close();

    servers.lookup(QStringLiteral("b\u00FCcher.example"));
    QCOMPARE(servers.registry.received(), QByteArray("domain xn--bcher-kva.example\r\n"));
    QCOMPARE(servers.iana.received(), QByteArray("xn--bcher-kva.example\r\n"));
    QCOMPARE(servers.tld.received(), QByteArray("xn--bcher-kva.example\r\n"));
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
    const QString registrarUrl = servers.rdap.url("/registrar/domain/marrowby.com").toString();
    QCOMPARE(whois->replyText(),
             RegistryText
                 + QStringLiteral("\n--- The WHOIS server whois.registrar.test refused the connection. ---\n"
                                  "\n--- RDAP %1 ---\nDomain Name: MARROWBY.COM\n"
                                  "\n--- RDAP %2 ---\nDomain Name: marrowby.com\nRegistrant: Jo Holder\n")
                       .arg(rdapUrl, registrarUrl));

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
        servers.registrar.send("Registrant: ").wait(50).reset();
    else if (failure == QLatin1String("unresolved"))
        servers.resolver->remove(QStringLiteral("whois.registrar.test"));
    else
        servers.registrar.send(QByteArray(5000, 'x')).close();
    servers.rdap.route("/rdap/domain/marrowby.com", 200, rdapRecord("MARROWBY.COM"));

    const QString text = servers.lookup(QStringLiteral("marrowby.com"));
    // One line names the server and the reason, right after the registry's reply.
    const QString line = text.mid(RegistryText.size()).section(u'\n', 1, 1);
    QVERIFY2(text.startsWith(RegistryText), qPrintable(text));
    QVERIFY2(line.contains(QLatin1String("whois.registrar.test")) && line.contains(note), qPrintable(line));
    QVERIFY2(!text.contains(QLatin1String("Registrant: ")), qPrintable(text));
    QVERIFY2(text.endsWith(QLatin1String("Domain Name: MARROWBY.COM\n")), qPrintable(text));
}

void TestLookupChain::tldWithoutPort43GoesToRdap()
{
    Servers servers;
    servers.registry.send("No match for \"MARROWBY.EXAMPLE\".\r\n").close();
    servers.iana.send("domain:       EXAMPLE\nwhois:\n").close();
    servers.rdap.route("/rdap/domain/marrowby.example", 200, rdapRecord("marrowby.example"));

    const QString text = servers.lookup(QStringLiteral("marrowby.example"));
    QVERIFY2(text.endsWith(QStringLiteral("--- RDAP %1 ---\nDomain Name: marrowby.example\n")
                               .arg(servers.rdap.url("/rdap/domain/marrowby.example").toString())),
             qPrintable(text));
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
    QVERIFY2(text.contains(expected), qPrintable(text));
}

void TestLookupChain::referralsThatAreNotFollowed_data()
{
    QTest::addColumn<QByteArray>("server");
    QTest::addColumn<QString>("note");

    QTest::newRow("other port") << QByteArray("whois.registrar.test:4343")
                                << QStringLiteral("The referral to \"whois.registrar.test:4343\" was not followed");
    QTest::newRow("IP literal") << QByteArray("127.0.0.1")
                                << QStringLiteral("The referral to \"127.0.0.1\" was not followed");
    QTest::newRow("URL with a path") << QByteArray("http://whois.registrar.test/whois")
                                     << QStringLiteral("was not followed: only host names on the WHOIS port");
    QTest::newRow("loop to the first server") << QByteArray("whois.internic.net")
                                              << QStringLiteral("whois.internic.net was not asked again");
    QTest::newRow("longer than 255") << QByteArray(QByteArray(300, 'a') + ".test") << QStringLiteral("was not followed");
}

void TestLookupChain::referralsThatAreNotFollowed()
{
    QFETCH(QByteArray, server);
    QFETCH(QString, note);

    Servers servers;
    servers.registry.send("Domain Name: MARROWBY.COM\nRegistrar WHOIS Server: " + server + "\n").close();
    const QString text = servers.lookup(QStringLiteral("marrowby.com"));
    QVERIFY2(text.contains(note), qPrintable(text));
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

HOLDRIN_TEST_MAIN(TestLookupChain)
#include "tst_lookupchain.moc"
