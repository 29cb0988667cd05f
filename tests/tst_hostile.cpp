// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Marrowby Industries

#include "ClosedPort.h"
#include "FakeHttpServer.h"
#include "FakeWhoisServer.h"
#include "FileHelpers.h"
#include "LoopbackResolver.h"
#include "Querying.h"
#include "RepliesOnly.h"
#include "TestMain.h"

#include "app/Form1.h"
#include "output/FileDialog.h"
#include "query/HttpGetter.h"
#include "query/StopRequest.h"
#include "query/WhoisClient.h"
#include "common/Failure.h"
#include "ui/MessageBox.h"
#include "ui/ReplyBox.h"

#include <QFile>
#include <QGuiApplication>
#include <QLineEdit>
#include <QNetworkAccessManager>
#include <QPushButton>
#include <QTemporaryDir>

using namespace std::chrono_literals;

namespace {
qint64 residentBytes()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLongLong() * 1024;
    }
    return 0;
}

std::shared_ptr<LoopbackResolver> loopback()
{
    return std::make_shared<LoopbackResolver>();
}
} // namespace

// Servers that misbehave and input that makes no sense: each ends in a reply
// or in a message naming what went wrong, and the program runs on.
class TestHostile : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void misbehavingServers_data();
    void misbehavingServers();
    void floodIsCutOffEarly();
    void trickleOverHttpIsCutOffByTheExchangeLimit();
    void hostileRdapIsNamedNotFatal_data();
    void hostileRdapIsNamedNotFatal();
    void controlCharactersAreSavedAsShown_data();
    void controlCharactersAreSavedAsShown();
    void badInputFromTheUser_data();
    void badInputFromTheUser();
};

void TestHostile::init()
{
    MessageBox::setPresetAnswer(true);
}

void TestHostile::cleanup()
{
    FileDialog::setPresetReply(std::nullopt);
}

void TestHostile::misbehavingServers_data()
{
    QTest::addColumn<QString>("scenario");
    QTest::addColumn<QString>("reply");
    QTest::addColumn<QString>("failure");

    QTest::newRow("one byte at a time, under the time-out")
        << QStringLiteral("trickle") << QString(QString(200, u'x') + u'\n') << QString();
    QTest::newRow("silence right after connect") << QStringLiteral("silence") << QString()
                                                 << QStringLiteral("sent nothing for 0.3 seconds");
    QTest::newRow("NUL bytes, invalid UTF-8, a terminal sequence")
        << QStringLiteral("binary") << QStringLiteral("a\uFFFDb\n\u00FF\u00FE\n\uFFFD[2J\uFFFD\n") << QString();
    QTest::newRow("CR line breaks only") << QStringLiteral("cr") << QStringLiteral("one\ntwo\nthree\n") << QString();
}

void TestHostile::misbehavingServers()
{
    QFETCH(QString, scenario);
    QFETCH(QString, reply);
    QFETCH(QString, failure);

    FakeWhoisServer server;
    if (scenario == QLatin1String("trickle"))
        server.sendInChunks(reply.toLatin1(), 1, 2).close();
    else if (scenario == QLatin1String("binary"))
        server.send(QByteArray("a\0b\n\xFF\xFE\n\x1B[2J\x07\n", 13)).close();
    else if (scenario == QLatin1String("cr"))
        server.send("one\rtwo\rthree\r").close();

    const auto idle = scenario == QLatin1String("silence") ? 300ms : 60s;
    WhoisClient client(QStringLiteral("127.0.0.1"), server.port(), loopback(), {}, {60s, idle, 1024 * 1024});
    QString description;
    try {
        client.lookup(QStringLiteral("www.marrowby.com"));
    } catch (const Failure &e) {
        description = e.description();
    }
    QCOMPARE(client.replyText(), reply);
    QVERIFY2(failure.isEmpty() ? description.isEmpty() : description.contains(failure), qPrintable(description));
}

void TestHostile::floodIsCutOffEarly()
{
    constexpr qint64 MiB = 1024 * 1024;
    FakeWhoisServer server;
    server.flood(50 * MiB).close();
    WhoisClient client(QStringLiteral("127.0.0.1"), server.port(), loopback(), QUrl());

    const qint64 before = residentBytes();
    QString description;
    try {
        client.lookup(QStringLiteral("www.marrowby.com"));
    } catch (const Failure &e) {
        description = e.description();
    }
    const qint64 growth = residentBytes() - before;

    QVERIFY2(description.contains(QLatin1String("is larger than 16 MiB")), qPrintable(description));
    QVERIFY2(server.bytesSent() < 24 * MiB, qPrintable(QString::number(server.bytesSent())));
#ifndef __SANITIZE_ADDRESS__
    // AddressSanitizer keeps freed blocks in quarantine, so there resident
    // memory says nothing about what the lookup holds.
    QVERIFY2(growth < 64 * MiB, qPrintable(QString::number(growth)));
#else
    Q_UNUSED(growth);
#endif
    QCOMPARE(client.replyText(), QString());
}

void TestHostile::trickleOverHttpIsCutOffByTheExchangeLimit()
{
    // A byte every 50 ms for a minute, after headers that promise more.
    FakeWhoisServer trickler;
    trickler.send("HTTP/1.1 200 OK\r\nContent-Length: 100000\r\n\r\n").sendInChunks(QByteArray(1200, 't'), 1, 50);
    ConnectionLimits limits;
    limits.exchangeTimeout = 1s;
    QNetworkAccessManager network;
    StopRequest stop;
    HttpGetter getter(network, limits, stop);

    QString description;
    try {
        getter.get(QUrl(QStringLiteral("http://127.0.0.1:%1/domain/marrowby.com").arg(trickler.port())),
                   "application/rdap+json", {});
    } catch (const Failure &e) {
        description = e.description();
    }
    QCOMPARE(description, QStringLiteral("No answer from 127.0.0.1: the reply did not finish within 1 seconds."));
}

void TestHostile::hostileRdapIsNamedNotFatal_data()
{
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<QString>("note");

    QTest::newRow("truncated") << QByteArray("{\"ldhName\": \"MARROWBY.COM\", \"entities\": [{")
                               << QStringLiteral("not valid JSON");
    QTest::newRow("10,000 levels deep") << QByteArray(QByteArray(10000, '[') + QByteArray(10000, ']'))
                                        << QStringLiteral("not valid JSON");
    QTest::newRow("wrong types in every field")
        << json("{'ldhName': [], 'handle': {}, 'status': 1, 'events': 'x', 'nameservers': [[]],"
                " 'entities': [{'roles': [1], 'vcardArray': [[], {}], 'entities': 'x'}],"
                " 'notices': [[]], 'links': [{'rel': 1, 'href': []}]}")
        << QStringLiteral("--- RDAP ");
}

void TestHostile::hostileRdapIsNamedNotFatal()
{
    QFETCH(QByteArray, body);
    QFETCH(QString, note);

    FakeWhoisServer registry;
    registry.send("Domain Name: MARROWBY.COM\nRegistrar WHOIS Server: whois.registrar.test\n").close();
    FakeHttpServer rdap;
    rdap.route("/dns.json", 200, "{\"services\": [[[\"com\"], [\"" + rdap.url("/").toEncoded() + "\"]]]}");
    rdap.route("/domain/marrowby.com", 200, body);
    const ClosedPort registrar;
    auto resolver = loopback();
    resolver->add(QStringLiteral("whois.internic.net"), registry.port())
        .add(QStringLiteral("whois.registrar.test"), registrar.port());

    WhoisClient client(QStringLiteral("whois.internic.net"), 43, resolver, rdap.url("/dns.json"));
    client.lookup(QStringLiteral("marrowby.com"));
    const QString text = repliesOnly(client.replyText());
    QVERIFY2(text.startsWith(QLatin1String("Domain Name: MARROWBY.COM\n")), qPrintable(text));
    QVERIFY2(text.simplified().contains(note), qPrintable(text));
}

void TestHostile::controlCharactersAreSavedAsShown_data()
{
    QTest::addColumn<QByteArray>("sent");  // as the WHOIS server sends it
    QTest::addColumn<QByteArray>("escape"); // as an RDAP record's JSON string holds it
    QTest::addColumn<QByteArray>("saved");

    const QByteArray replacement = "\xEF\xBF\xBD";
    QTest::newRow("ESC") << QByteArray("\x1B") << QByteArray("\\u001b") << replacement;
    QTest::newRow("BEL") << QByteArray("\x07") << QByteArray("\\u0007") << replacement;
    QTest::newRow("NUL") << QByteArray("\0", 1) << QByteArray("\\u0000") << replacement;
    QTest::newRow("CR inside a line") << QByteArray("\r") << QByteArray("\\r") << QByteArray("\n");
    QTest::newRow("CR LF inside a line") << QByteArray("\r\n") << QByteArray("\\r\\n") << QByteArray("\n");
    QTest::newRow("C1 U+0085") << QByteArray("\xC2\x85") << QByteArray("\\u0085") << replacement;
    QTest::newRow("U+2029") << QByteArray("\xE2\x80\xA9") << QByteArray("\\u2029") << replacement;
    QTest::newRow("U+FDD0") << QByteArray("\xEF\xB7\x90") << QByteArray("\\ufdd0") << replacement;
    QTest::newRow("U+FDD1") << QByteArray("\xEF\xB7\x91") << QByteArray("\\ufdd1") << replacement;
    QTest::newRow("DEL") << QByteArray("\x7F") << QByteArray("\\u007f") << replacement;
    QTest::newRow("TAB kept") << QByteArray("\t") << QByteArray("\\t") << QByteArray("\t");
}

// What a server sent reaches the saved file as the reply box showed it,
// by port 43 and by RDAP alike: the box takes some characters for line
// breaks, and others would act on whatever reads the file.
void TestHostile::controlCharactersAreSavedAsShown()
{
    QFETCH(QByteArray, sent);
    QFETCH(QByteArray, escape);
    QFETCH(QByteArray, saved);

    const QByteArray registryHead = "Domain Name: MARROWBY.COM\n";
    FakeWhoisServer whoisOnly;
    whoisOnly.send(registryHead + "Remarks: a" + sent + "b\n").close();
    FakeWhoisServer registry;
    registry.send(registryHead + "Registrar WHOIS Server: whois.registrar.test\n").close();
    FakeHttpServer rdap;
    rdap.route("/dns.json", 200, "{\"services\": [[[\"com\"], [\"" + rdap.url("/").toEncoded() + "\"]]]}");
    rdap.route("/domain/marrowby.com", 200,
               "{\"objectClassName\": \"domain\", \"ldhName\": \"MARROWBY.COM\", \"remarks\": [{\"title\": \"Note\","
               " \"description\": [\"a" + escape + "b\"]}]}");
    const ClosedPort registrar;

    const QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("reply.txt"));
    FileDialog::setPresetReply(path);
    const auto savedLookup = [&](quint16 registryPort) {
        auto resolver = loopback();
        resolver->add(QStringLiteral("whois.internic.net"), registryPort)
            .add(QStringLiteral("whois.registrar.test"), registrar.port());
        Form1 form(
            std::make_unique<WhoisClient>(QStringLiteral("whois.internic.net"), 43, resolver, rdap.url("/dns.json")));
        form.show();
        form.findChild<QLineEdit *>(QStringLiteral("txtDomain"))->setText(QStringLiteral("marrowby.com"));
        // A lookup that does not end leaves no file, which the comparisons catch.
        if (queryAndWait(form))
            form.findChild<QAction *>(QStringLiteral("mnuSave"))->trigger();
        return readAll(path);
    };

    const QByteArray byWhois = savedLookup(whoisOnly.port());
    QCOMPARE(repliesOnly(QString::fromUtf8(byWhois)).toUtf8(), registryHead + "Remarks: a" + saved + "b\n\r\n");
    const QByteArray byRdap = savedLookup(registry.port());
    // The RDAP record is the last reply, after the refused registrar's note.
    QCOMPARE(byRdap.mid(byRdap.indexOf("\n--- RDAP ")),
             "\n--- RDAP " + rdap.url("/domain/marrowby.com").toEncoded() + " ---\nDomain Name: MARROWBY.COM\n"
             "Remark: Note\n  a" + saved + "b\n\r\n");
    QVERIFY(MessageBox::takeShown().isEmpty());
}

void TestHostile::badInputFromTheUser_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QByteArray>("wire");   // what the server gets; empty when it is not asked
    QTest::addColumn<QString>("message");   // part of the error box; empty when the reply shows
    QTest::addColumn<QString>("note");      // the lookup's note above the reply

    const QString longName = QString(9996, u'a') + QStringLiteral(".com");
    QTest::newRow("empty") << QString() << QByteArray("\r\n") << QString() << QString();
    QTest::newRow("spaces only") << QStringLiteral("   ") << QByteArray("   \r\n") << QString() << QString();
    QTest::newRow("10,000 characters") << longName << QByteArray("domain " + longName.toLatin1() + "\r\n") << QString() << QString();
    QTest::newRow("control characters") << QStringLiteral("marrowby.com\r\nhelp") << QByteArray()
                                        << QStringLiteral("control character (U+000D)") << QString();
    QTest::newRow("mixed scripts") << QStringLiteral("p\u0430ypal.com") << QByteArray("domain xn--") << QString()
                                   << QStringLiteral("--- xn--pypal-4ve.com is the ASCII (ACE) form of p\u0430ypal.com. ---\n");
    QTest::newRow("10,000 letters with no ASCII form") << QString(10000, u'\u00FC') << QByteArray()
                                                       << QStringLiteral("not a valid international domain name") << QString();
}

void TestHostile::badInputFromTheUser()
{
    QFETCH(QString, typed);
    QFETCH(QByteArray, wire);
    QFETCH(QString, message);
    QFETCH(QString, note);

    FakeWhoisServer server;
    server.send("the reply\n").close();
    Form1 form(std::make_unique<WhoisClient>(QStringLiteral("127.0.0.1"), server.port(), loopback()));
    form.show();
    form.findChild<QLineEdit *>(QStringLiteral("txtDomain"))->setText(typed);
    auto *response = form.findChild<ReplyBox *>(QStringLiteral("txtResponse"));

    QVERIFY(queryAndWait(form));
    QVERIFY2(server.received().startsWith(wire), server.received().left(80).constData());
    QCOMPARE(server.connections(), wire.isEmpty() ? 0 : 1);
    const auto shown = MessageBox::takeShown();
    if (message.isEmpty()) {
        QVERIFY(shown.isEmpty());
        QCOMPARE(response->text(), note + QStringLiteral("the reply\n"));
    } else {
        QCOMPARE(shown.size(), 1);
        QVERIFY2(shown[0].prompt.contains(message), qPrintable(shown[0].prompt));
        QCOMPARE(response->text(), QStringLiteral("Querying remote server..."));
    }
    QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
    QVERIFY(form.isVisible());
}

HOLDRIN_TEST_MAIN(TestHostile)
#include "tst_hostile.moc"
