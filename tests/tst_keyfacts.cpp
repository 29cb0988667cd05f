// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Marrowby Industries

#include "TestMain.h"

#include "query/KeyFacts.h"
#include "query/RegistryDate.h"
#include "query/WhoisFacts.h"

#include "FileHelpers.h"

#include <QDir>
#include <QFileInfo>

class TestKeyFacts : public QObject
{
    Q_OBJECT

private slots:
    void golden_data();
    void golden();
    void dates_data();
    void dates();
    void datesInOneReply_data();
    void datesInOneReply();
    void valuesStayOnTheirLine();
    void oversizedValuesAreLeftOut_data();
    void oversizedValuesAreLeftOut();
};

namespace {
const QDateTime Now(QDate(2026, 12, 8), QTime(12, 0), Qt::UTC);

// NAME.hops: "query NAME", then one hop a line: source (whois or rdap),
// role (registry, registrar or referral), server, the file of its reply,
// and "throttled" where the server limited queries.
QList<LookupHop> readHops(const QString &path, QString *queried)
{
    QList<LookupHop> hops;
    const QDir dir = QFileInfo(path).dir();
    for (const QString &line : QString::fromUtf8(readAll(path)).split(u'\n', Qt::SkipEmptyParts)) {
        const QStringList words = line.split(u' ', Qt::SkipEmptyParts);
        if (words.value(0) == QLatin1String("query")) {
            *queried = words.value(1);
            continue;
        }
        LookupHop hop;
        hop.source = words.value(0) == QLatin1String("rdap") ? LookupHop::Source::Rdap : LookupHop::Source::Whois;
        const QString role = words.value(1);
        hop.role = role == QLatin1String("registrar") ? LookupHop::Role::Registrar
            : role == QLatin1String("referral")       ? LookupHop::Role::Referral
                                                      : LookupHop::Role::Registry;
        hop.server = words.value(2);
        const QByteArray reply = readAll(dir.filePath(words.value(3)));
        if (hop.source == LookupHop::Source::Rdap)
            hop.json = reply;
        else
            hop.text = QString::fromUtf8(reply);
        hop.throttled = words.value(4) == QLatin1String("throttled");
        hops << hop;
    }
    return hops;
}
} // namespace

// Each golden/facts/NAME.hops is summed up and compared whole with
// NAME.expected. HOLDRIN_UPDATE_GOLDEN=1 writes the blocks anew, for review
// with git diff.
void TestKeyFacts::golden_data()
{
    QTest::addColumn<QString>("hops");
    const QDir dir(QFINDTESTDATA("golden/facts"));
    const QStringList cases = dir.entryList({QStringLiteral("*.hops")}, QDir::Files, QDir::Name);
    QVERIFY2(cases.size() >= 10, qPrintable(dir.path()));
    for (const QString &name : cases)
        QTest::newRow(qPrintable(name)) << dir.filePath(name);
}

void TestKeyFacts::golden()
{
    QFETCH(QString, hops);
    QString queried;
    const QList<LookupHop> list = readHops(hops, &queried);
    QVERIFY(!list.isEmpty());
    const QString block = KeyFacts::summary(queried, list, Now);
    const QString expectedPath = hops.chopped(5) + QLatin1String(".expected");
    if (qEnvironmentVariableIntValue("HOLDRIN_UPDATE_GOLDEN") == 1)
        writeAll(expectedPath, block.toUtf8());
    QCOMPARE(block.split(u'\n'), QString::fromUtf8(readAll(expectedPath)).split(u'\n'));
    QVERIFY(block.isEmpty() || block.endsWith(u'\n'));
    for (const QString &line : block.split(u'\n'))
        QVERIFY2(line.size() <= KeyFacts::Width, qPrintable(line));
}

void TestKeyFacts::dates_data()
{
    QTest::addColumn<QString>("written");
    QTest::addColumn<QString>("date");

    QTest::newRow("ISO with time and zone") << QStringLiteral("2027-04-17T23:30:00-05:00") << QStringLiteral("2027-04-17");
    QTest::newRow("ISO with fractions") << QStringLiteral("2026-03-30T09:14:52.481Z") << QStringLiteral("2026-03-30");
    QTest::newRow("ISO, time after a space") << QStringLiteral("2004-03-05 12:00:00+02:00") << QStringLiteral("2004-03-05");
    QTest::newRow("YYYY/MM/DD") << QStringLiteral("2026/05/31") << QStringLiteral("2026-05-31");
    QTest::newRow("YYYY/MM/DD with zone") << QStringLiteral("2025/06/01 01:05:04 (JST)") << QStringLiteral("2025-06-01");
    QTest::newRow("YYYY.MM.DD") << QStringLiteral("2026.03.05 13:00:00") << QStringLiteral("2026-03-05");
    QTest::newRow("YYYYMMDD") << QStringLiteral("20260305 #1234") << QStringLiteral("2026-03-05");
    QTest::newRow("DD.MM.YYYY") << QStringLiteral("05.03.2026") << QStringLiteral("2026-03-05");
    QTest::newRow("D.M.YYYY") << QStringLiteral("5.3.2026 12:00:00") << QStringLiteral("2026-03-05");
    QTest::newRow("DD-Mon-YYYY") << QStringLiteral("12-Mar-2004") << QStringLiteral("2004-03-12");
    QTest::newRow("DD-MON-YYYY") << QStringLiteral("01-OCT-2026 10:00:00 UTC") << QStringLiteral("2026-10-01");
    QTest::newRow("DD/MM/YYYY, day over 12") << QStringLiteral("13/04/2025") << QStringLiteral("2025-04-13");
    QTest::newRow("MM/DD/YYYY, day over 12") << QStringLiteral("04/13/2025") << QStringLiteral("2025-04-13");
    QTest::newRow("day and month alike") << QStringLiteral("04/04/2025") << QStringLiteral("2025-04-04");
    QTest::newRow("day and month in doubt") << QStringLiteral("03/04/2025") << QString();
    QTest::newRow("no such day") << QStringLiteral("2026-02-30") << QString();
    QTest::newRow("two-digit year") << QStringLiteral("05-Mar-26") << QString();
    QTest::newRow("mixed separators") << QStringLiteral("2026-03/05") << QString();
    QTest::newRow("not a date") << QStringLiteral("hostmaster@example.test 20040305") << QString();
    QTest::newRow("words") << QStringLiteral("before expiry") << QString();
}

void TestKeyFacts::dates()
{
    QFETCH(QString, written);
    QFETCH(QString, date);
    QCOMPARE(RegistryDate::read(written).toString(Qt::ISODate), date);
}

void TestKeyFacts::datesInOneReply_data()
{
    QTest::addColumn<QString>("reply");
    QTest::addColumn<QString>("created");
    QTest::addColumn<QString>("expires");

    QTest::newRow("a day over 12 settles the rest")
        << QStringLiteral("created: 03/04/2005\nexpires: 25/04/2027\n") << QStringLiteral("2005-04-03")
        << QStringLiteral("2027-04-25");
    QTest::newRow("a month first reply")
        << QStringLiteral("created: 03/04/2005\nexpires: 04/25/2027\n") << QStringLiteral("2005-03-04")
        << QStringLiteral("2027-04-25");
    QTest::newRow("all in doubt") << QStringLiteral("created: 03/04/2005\nexpires: 03/04/2027\n") << QString()
                                  << QString();
    QTest::newRow("a reply that contradicts itself")
        << QStringLiteral("created: 13/04/2005\nexpires: 04/13/2027\n") << QString() << QString();
}

void TestKeyFacts::datesInOneReply()
{
    QFETCH(QString, reply);
    QFETCH(QString, created);
    QFETCH(QString, expires);
    const RecordFacts facts = WhoisFacts::read(reply);
    QCOMPARE(facts.created.toString(Qt::ISODate), created);
    QCOMPARE(facts.expires.toString(Qt::ISODate), expires);
}

// A record's strings may hold line breaks, control characters and marks
// that turn the text around; none of them reaches the block.
void TestKeyFacts::valuesStayOnTheirLine()
{
    LookupHop hop;
    hop.source = LookupHop::Source::Rdap;
    hop.server = QStringLiteral("https://rdap.registry.test/domain/a.test");
    hop.json = json("{'objectClassName': 'domain', 'ldhName': 'a.test', 'entities': [{'roles': ['registrar'],"
                    " 'vcardArray': ['vcard', [['fn', {}, 'text', 'Quill\\u202Egnp.exe\\nLedger\\u0007\\uFDD0']]]}]}");
    const QString block = KeyFacts::summary(QStringLiteral("a.test"), {hop}, Now);
    QVERIFY2(block.contains(QStringLiteral("Registrar:     Quill\uFFFDgnp.exe Ledger\uFFFD\uFFFD\n")), qPrintable(block));
}

void TestKeyFacts::oversizedValuesAreLeftOut_data()
{
    QTest::addColumn<bool>("rdap");
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<QString>("block");

    const QString head = QStringLiteral("Key facts for marrowby.com\nDomain:        MARROWBY.COM\n");
    const QString fromWhois = QStringLiteral("From:          whois.internic.net\n");

    QByteArray oneLine;
    while (oneLine.size() < 1024 * 1024)
        oneLine += "Registrar: Marrowby  Domain Name: MARROWBY.COM  ";
    QTest::newRow("one line of a megabyte") << false << oneLine << QString();

    const QByteArray longName = "Registrar: " + QByteArray("Marrowby ").repeated(40) + "\n";
    QTest::newRow("a value longer than any fact")
        << false << QByteArray("Domain Name: MARROWBY.COM\n" + longName) << head + fromWhois;

    // The registrar's line starts inside the part that is read and ends
    // past it: read there, its value would be cut short.
    QByteArray cut = "Domain Name: MARROWBY.COM\n";
    const QByteArray registrar = "Registrar: Quill";
    while (cut.size() + 80 < WhoisFacts::HeadSize - registrar.size())
        cut += "% " + QByteArray(77, 'x') + '\n';
    cut += "% " + QByteArray(WhoisFacts::HeadSize - registrar.size() - cut.size() - 3, 'x') + '\n';
    cut += registrar + " & Ledger Names, LLC\n";
    QTest::newRow("a line cut where reading stops") << false << cut << head + fromWhois;

    const QString indent(15, u' ');
    const QString unbroken(200, u'M');
    QTest::newRow("a word longer than a line")
        << false << QByteArray("Domain Name: MARROWBY.COM\nRegistrar: " + unbroken.toLatin1() + '\n')
        << head + QStringLiteral("Registrar:     ") + unbroken.left(65) + u'\n' + indent + unbroken.mid(65, 65) + u'\n'
            + indent + unbroken.mid(130, 65) + u'\n' + indent + unbroken.mid(195) + u'\n' + fromWhois;

    QTest::newRow("an RDAP string of a megabyte")
        << true
        << QByteArray(json("{'objectClassName': 'domain', 'ldhName': 'MARROWBY.COM', 'entities': [{'roles': "
                           "['registrar'], 'vcardArray': ['vcard', [['fn', {}, 'text', '")
                      + QByteArray(1024 * 1024, 'M') + "\"]]]}]}")
        << head + QStringLiteral("From:          rdap.registry.test (RDAP)\n");
}

// A value is read to the end of its line or not at all, no value is
// longer than a fact can be, and none passes the width.
void TestKeyFacts::oversizedValuesAreLeftOut()
{
    QFETCH(bool, rdap);
    QFETCH(QByteArray, reply);
    QFETCH(QString, block);

    LookupHop hop;
    if (rdap) {
        hop.source = LookupHop::Source::Rdap;
        hop.server = QStringLiteral("https://rdap.registry.test/domain/marrowby.com");
        hop.json = reply;
    } else {
        hop.server = QStringLiteral("whois.internic.net");
        hop.text = QString::fromLatin1(reply);
    }
    QCOMPARE(KeyFacts::summary(QStringLiteral("marrowby.com"), {hop}, Now), block);
}

HOLDRIN_TEST_MAIN(TestKeyFacts)
#include "tst_keyfacts.moc"
