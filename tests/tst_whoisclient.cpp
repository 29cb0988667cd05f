// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Marrowby Industries

#include "ClosedPort.h"
#include "FakeWhoisServer.h"
#include "LoopbackResolver.h"
#include "RepliesOnly.h"
#include "SilentListener.h"
#include "TestMain.h"

#include "query/WhoisClient.h"
#include "common/Failure.h"

#include <QSignalSpy>

using namespace std::chrono_literals;

namespace {
// A time-out that a test waits for is short; any other is long enough that
// a busy machine never reaches it.
constexpr std::chrono::milliseconds Never = 60s;

ConnectionLimits limits(std::chrono::milliseconds connect, std::chrono::milliseconds idle)
{
    ConnectionLimits limits;
    limits.connectTimeout = connect;
    limits.idleTimeout = idle;
    limits.maxReplyBytes = 4096;
    return limits;
}

QString failureOf(WhoisClient &client, const QString &domain)
{
    try {
        client.lookup(domain);
    } catch (const Failure &e) {
        return e.description();
    }
    return {};
}
} // namespace

class TestWhoisClient : public QObject
{
    Q_OBJECT

private slots:
    void sendsTheDomainAsTypedAndReadsUntilClose_data();
    void sendsTheDomainAsTypedAndReadsUntilClose();
    void slowTrickleUnderTheIdleTimeoutCompletes();
    void failuresNameTheServer_data();
    void failuresNameTheServer();
    void everyAddressGetsItsChance_data();
    void everyAddressGetsItsChance();
    void aResetAfterDataKeepsTheData_data();
    void aResetAfterDataKeepsTheData();
    void connectTimeoutCoversANameThatNeverResolves();
    void controlCharactersAreRefusedBeforeConnecting_data();
    void controlCharactersAreRefusedBeforeConnecting();
    void aFailedLookupLeavesNoStaleReply();
};

void TestWhoisClient::sendsTheDomainAsTypedAndReadsUntilClose_data()
{
    QTest::addColumn<QString>("domain");
    QTest::addColumn<QByteArray>("wire");
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<int>("chunk");
    QTest::addColumn<QString>("text");

    QTest::newRow("plain") << QStringLiteral("marrowby.com") << QByteArray("domain marrowby.com\r\n")
                           << QByteArray("Domain Name: MARROWBY.COM\r\nRegistrar: X\r\n") << 0
                           << QStringLiteral("Domain Name: MARROWBY.COM\nRegistrar: X\n");
    QTest::newRow("spaces around dropped, case kept") << QStringLiteral("  Marrowby.COM ")
                                                      << QByteArray("domain Marrowby.COM\r\n") << QByteArray("ok\n")
                                          << 0 << QStringLiteral("ok\n");
    QTest::newRow("empty domain, empty reply") << QString() << QByteArray("\r\n") << QByteArray() << 0
                                               << QString();
    QTest::newRow("many small chunks") << QStringLiteral("a.net") << QByteArray("domain a.net\r\n")
                                       << QByteArray("line one\r\nline two\r\nline three\r\n") << 3
                                       << QStringLiteral("line one\nline two\nline three\n");
    QTest::newRow("CR LF split across chunks") << QStringLiteral("www.a.net") << QByteArray("www.a.net\r\n")
                                               << QByteArray("ab\r\ncd") << 3
                                               << QStringLiteral("ab\ncd");
    QTest::newRow("Latin-1 bytes") << QStringLiteral("b.de") << QByteArray("domain b.de\r\n")
                                   << QByteArray("Stra\xDF" "e 1\r\nM\xC3\xBC" "nchen\r\n") << 0
                                   << QStringLiteral("Stra\u00DFe 1\nM\u00FCnchen\n");
}

void TestWhoisClient::sendsTheDomainAsTypedAndReadsUntilClose()
{
    QFETCH(QString, domain);
    QFETCH(QByteArray, wire);
    QFETCH(QByteArray, reply);
    QFETCH(int, chunk);
    QFETCH(QString, text);

    FakeWhoisServer server;
    if (chunk > 0)
        server.sendInChunks(reply, chunk, 5);
    else
        server.send(reply);
    server.close();

    WhoisClient client(QStringLiteral("127.0.0.1"), server.port(), std::make_shared<LoopbackResolver>());
    client.lookup(domain);
    QCOMPARE(server.received(), wire);
    QCOMPARE(repliesOnly(client.replyText()), text);
}

void TestWhoisClient::slowTrickleUnderTheIdleTimeoutCompletes()
{
    const QByteArray reply(16, 'x');
    FakeWhoisServer server;
    server.sendInChunks(reply, 1, 250).close(); // 4 s in all, 250 ms apart

    WhoisClient client(QStringLiteral("127.0.0.1"), server.port(), std::make_shared<LoopbackResolver>(), {},
                       limits(Never, 3s));
    client.lookup(QStringLiteral("slow.com"));
    QCOMPARE(client.replyText(), QString::fromLatin1(reply));
}

void TestWhoisClient::failuresNameTheServer_data()
{
    QTest::addColumn<QString>("scenario");
    QTest::addColumn<QString>("expected");

    QTest::newRow("refused") << QStringLiteral("refused") << QStringLiteral("refused the connection");
    QTest::newRow("silence") << QStringLiteral("silence") << QStringLiteral("sent nothing for 0.3 seconds");
    QTest::newRow("reset before any byte") << QStringLiteral("reset")
                                           << QStringLiteral("reset the connection without sending a reply");
    QTest::newRow("endless trickle") << QStringLiteral("trickle") << QStringLiteral("did not finish its reply within 1 seconds");
    QTest::newRow("over the cap") << QStringLiteral("flood") << QStringLiteral("larger than");
    QTest::newRow("unresolved") << QStringLiteral("unresolved") << QStringLiteral("did not resolve (Host not found)");
}

void TestWhoisClient::failuresNameTheServer()
{
    QFETCH(QString, scenario);
    QFETCH(QString, expected);

    FakeWhoisServer server;
    const ClosedPort closed;
    quint16 port = server.port();
    ConnectionLimits shortened = limits(Never, scenario == QLatin1String("silence") ? 300ms : Never);
    if (scenario == QLatin1String("refused")) {
        port = closed.port();
    } else if (scenario == QLatin1String("silence")) {
        server.send("partial\r\n");
    } else if (scenario == QLatin1String("reset")) {
        server.reset();
    } else if (scenario == QLatin1String("flood")) {
        server.send(QByteArray(5000, 'f')).close();
    } else if (scenario == QLatin1String("trickle")) {
        // A byte every 50 ms for a minute: never silent for long.
        server.sendInChunks(QByteArray(1200, 't'), 1, 50);
        shortened.idleTimeout = 10s;
        shortened.exchangeTimeout = 1s;
    }

    auto resolver = std::make_shared<LoopbackResolver>();
    if (scenario != QLatin1String("unresolved"))
        resolver->add(QStringLiteral("whois.example.net"), port);
    WhoisClient client(QStringLiteral("whois.example.net"), 43, resolver, {}, shortened);
    const QString failure = failureOf(client, QStringLiteral("marrowby.com"));
    QVERIFY2(failure.contains(expected), qPrintable(failure));
    QVERIFY2(failure.contains(QLatin1String("whois.example.net")), qPrintable(failure));
    QCOMPARE(client.replyText(), QString());
}

void TestWhoisClient::everyAddressGetsItsChance_data()
{
    QTest::addColumn<QString>("addresses"); // in the order the name resolves to them
    QTest::addColumn<QString>("failure");

    QTest::newRow("first refused") << QStringLiteral("refused good") << QString();
    QTest::newRow("first black-holed") << QStringLiteral("silent good") << QString();
    QTest::newRow("two black-holed, then one refused, then the good one")
        << QStringLiteral("silent silent refused good") << QString();
    QTest::newRow("all refused") << QStringLiteral("refused refused")
                                 << QStringLiteral("The WHOIS server whois.example.net refused the connection.");
}

void TestWhoisClient::everyAddressGetsItsChance()
{
    QFETCH(QString, addresses);
    QFETCH(QString, failure);

    FakeWhoisServer server;
    server.send("Domain Name: MARROWBY.COM\r\n").close();
    SilentListener silent;
    QVERIFY(silent.port() != 0);
    const ClosedPort closed;
    QList<quint16> ports;
    for (const QString &address : addresses.split(u' ')) {
        ports.append(address == QLatin1String("good") ? server.port()
                         : address == QLatin1String("silent") ? silent.port()
                                                              : closed.port());
    }
    auto resolver = std::make_shared<LoopbackResolver>();
    resolver->add(QStringLiteral("whois.example.net"), ports);

    // A black-holed address that held the others back would use up the
    // whole connect time-out and fail the lookup.
    ConnectionLimits limits;
    limits.connectTimeout = 10s;
    WhoisClient client(QStringLiteral("whois.example.net"), 43, resolver, {}, limits);
    QCOMPARE(failureOf(client, QStringLiteral("marrowby.com")), failure);
    QCOMPARE(repliesOnly(client.replyText()), failure.isEmpty() ? QStringLiteral("Domain Name: MARROWBY.COM\n") : QString());
    QCOMPARE(server.received(), failure.isEmpty() ? QByteArray("domain marrowby.com\r\n") : QByteArray());
}

void TestWhoisClient::aResetAfterDataKeepsTheData_data()
{
    QTest::addColumn<QByteArray>("sent");
    QTest::addColumn<int>("waitMs");

    QTest::newRow("full reply, then reset")
        << QByteArray("Domain Name: MARROWBY.COM\r\nRegistrar: X\r\n>>> Last update <<<\r\n") << 50;
    QTest::newRow("rate-limit banner with reset") << QByteArray("Query rate exceeded\r\n") << 0;
    QTest::newRow("reset in mid-line") << QByteArray("Domain Name: MARR") << 50;
    // Long enough to be taken over whole, with the facts put before it and
    // the note after it.
    QTest::newRow("a long reply, then reset")
        << QByteArray("Domain Name: MARROWBY.COM\r\n") + QByteArray("Remarks: more\r\n").repeated(8000) << 50;
}

void TestWhoisClient::aResetAfterDataKeepsTheData()
{
    QFETCH(QByteArray, sent);
    QFETCH(int, waitMs);

    FakeWhoisServer server;
    server.send(sent);
    if (waitMs > 0)
        server.wait(waitMs);
    server.reset();
    auto resolver = std::make_shared<LoopbackResolver>();
    resolver->add(QStringLiteral("whois.example.net"), server.port());
    WhoisClient client(QStringLiteral("whois.example.net"), 43, resolver);
    client.lookup(QStringLiteral("marrowby.com"));

    QString expected = QString::fromLatin1(sent).replace(QLatin1String("\r\n"), QLatin1String("\n"));
    if (!expected.endsWith(u'\n'))
        expected += u'\n';
    expected += QLatin1String("\n--- The WHOIS server whois.example.net reset the connection, so its reply above\n"
                              "    may be incomplete. ---\n");
    QCOMPARE(repliesOnly(client.replyText()), expected);
}

void TestWhoisClient::connectTimeoutCoversANameThatNeverResolves()
{
    auto resolver = std::make_shared<LoopbackResolver>();
    resolver->hang();
    WhoisClient client(QStringLiteral("whois.example.net"), 4343, resolver, {}, limits(300ms, Never));
    const QString failure = failureOf(client, QStringLiteral("marrowby.com"));
    QCOMPARE(failure, QStringLiteral("The WHOIS server whois.example.net:4343 did not accept a "
                                     "connection within 0.3 seconds."));
}

void TestWhoisClient::controlCharactersAreRefusedBeforeConnecting_data()
{
    QTest::addColumn<QString>("domain");
    QTest::addColumn<QString>("code");

    QTest::newRow("CR LF injection") << QStringLiteral("a.com\r\nhelp") << QStringLiteral("U+000D");
    QTest::newRow("lone LF") << QStringLiteral("a.com\nb.com") << QStringLiteral("U+000A");
    QTest::newRow("tab") << QStringLiteral("a\t.com") << QStringLiteral("U+0009");
    QTest::newRow("NUL") << QString(QChar(0)) << QStringLiteral("U+0000");
    QTest::newRow("DEL") << QStringLiteral("a\x7f.com") << QStringLiteral("U+007F");
    QTest::newRow("C1 next line") << QStringLiteral("a\u0085.com") << QStringLiteral("U+0085");
}

void TestWhoisClient::controlCharactersAreRefusedBeforeConnecting()
{
    QFETCH(QString, domain);
    QFETCH(QString, code);

    FakeWhoisServer server;
    server.send("reply").close();
    WhoisClient client(QStringLiteral("127.0.0.1"), server.port(), std::make_shared<LoopbackResolver>());
    const QString failure = failureOf(client, domain);
    QVERIFY2(failure.contains(code), qPrintable(failure));
    QVERIFY2(failure.contains(QLatin1String("control character")), qPrintable(failure));
    // A connection the refused name had opened would be accepted first.
    client.lookup(QStringLiteral("marrowby.com"));
    QCOMPARE(server.connections(), 1);
    QVERIFY(server.received(0).contains("marrowby.com"));
}

void TestWhoisClient::aFailedLookupLeavesNoStaleReply()
{
    FakeWhoisServer server;
    server.send("first reply\n").close();
    WhoisClient client(QStringLiteral("127.0.0.1"), server.port(), std::make_shared<LoopbackResolver>());
    // The first reply is left unread, so only the failed lookup can clear it.
    client.lookup(QStringLiteral("a.com"));
    QVERIFY(!failureOf(client, QStringLiteral("a\n.com")).isEmpty());
    QCOMPARE(client.replyText(), QString());
}

HOLDRIN_TEST_MAIN(TestWhoisClient)
#include "tst_whoisclient.moc"
