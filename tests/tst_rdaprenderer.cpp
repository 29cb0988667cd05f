// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Marrowby Industries

#include "TestMain.h"

#include "query/RdapBootstrap.h"
#include "query/RdapRenderer.h"

#include "FileHelpers.h"

#include <QDir>

class TestRdapRenderer : public QObject
{
    Q_OBJECT

private slots:
    void golden_data();
    void golden();
    void render_data();
    void render();
    void relatedLinkIsTheRegistrarRecord();
    void bootstrapTakesTheLongestMatch_data();
    void bootstrapTakesTheLongestMatch();
};

// Each golden/rdap/NAME.json is rendered and compared whole with NAME.txt.
// HOLDRIN_UPDATE_GOLDEN=1 writes the texts anew, for review with git diff.
void TestRdapRenderer::golden_data()
{
    QTest::addColumn<QString>("input");
    const QDir dir(QFINDTESTDATA("golden/rdap"));
    const QStringList inputs = dir.entryList({QStringLiteral("*.json")}, QDir::Files, QDir::Name);
    QVERIFY2(inputs.size() >= 4, qPrintable(dir.path()));
    for (const QString &name : inputs)
        QTest::newRow(qPrintable(name)) << dir.filePath(name);
}

void TestRdapRenderer::golden()
{
    QFETCH(QString, input);
    const QString expectedPath = input.chopped(5) + QLatin1String(".txt");
    const RdapRenderer::Result result = RdapRenderer::render(readAll(input));
    QCOMPARE(result.error, QString());
    if (qEnvironmentVariableIntValue("HOLDRIN_UPDATE_GOLDEN") == 1)
        writeAll(expectedPath, result.text.toUtf8());
    // Line by line, so a failure names the first line that differs.
    QCOMPARE(result.text.split(u'\n'), QString::fromUtf8(readAll(expectedPath)).split(u'\n'));
}

void TestRdapRenderer::render_data()
{
    QTest::addColumn<QByteArray>("json");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("error");

    QTest::newRow("wrong types everywhere are skipped")
        << QByteArray(json("{'ldhName': 5, 'handle': [], 'status': 'active', 'events': [1, 'x', {'eventAction': 3}],\n"
"                         'nameservers': {'ldhName': 'a'}, 'secureDNS': {'delegationSigned': 'yes'},\n"
"                         'entities': [7, {'roles': 'registrar', 'vcardArray': ['vcard', 'fn']}],\n"
"                         'notices': [{'title': {}, 'description': 'text'}], 'links': 'none', 'port43': 43,\n"
"                         'remarks': [[], {'links': [{'href': 1}]}], 'redacted': [1, {'prePath': '$.entities[',\n"
"                         'name': 'x', 'reason': []}]}"))
        << QStringLiteral("Contact: (no name given)\nRedacted: $.entities[ (removed)\n") << QString();
    QTest::newRow("wrong types in network fields")
        << QByteArray(json("{'objectClassName': 'ip network', 'startAddress': 1, 'cidr0_cidrs': [1, {'length': 24}],\n"
"                         'name': [], 'secureDNS': {'dsData': 'x', 'keyData': [1]}}"))
        << QStringLiteral("DNSSEC\n") << QString();
    QTest::newRow("one 4-byte AS number")
        << QByteArray(json("{'objectClassName': 'autnum', 'startAutnum': 4200000000, 'endAutnum': 4200000000}"))
        << QStringLiteral("AS Number: AS4200000000\n") << QString();
    QTest::newRow("error response")
        << QByteArray(json("{'errorCode': 429, 'title': 'Too Many Requests'}"))
        << QStringLiteral("Error: 429\nTitle: Too Many Requests\n") << QString();
    QTest::newRow("truncated JSON") << QByteArray(json("{'ldhName': 'A.COM', 'status': ['act")) << QString()
                                    << QStringLiteral("the RDAP reply is not valid JSON");
    QTest::newRow("not an object") << QByteArray("[1, 2]") << QString()
                                   << QStringLiteral("the RDAP reply is not a JSON object");
    QTest::newRow("HTML error page") << QByteArray("<html><body>Bad Gateway</body></html>") << QString()
                                     << QStringLiteral("the RDAP reply is not valid JSON");
    QTest::newRow("deeply nested") << QByteArray(QByteArray(10000, '[') + QByteArray(10000, ']')) << QString()
                                   << QStringLiteral("the RDAP reply is not valid JSON");
}

void TestRdapRenderer::render()
{
    QFETCH(QByteArray, json);
    QFETCH(QString, text);
    QFETCH(QString, error);
    const RdapRenderer::Result result = RdapRenderer::render(json);
    QCOMPARE(result.text, text);
    QVERIFY2(result.error.startsWith(error), qPrintable(result.error));
    QCOMPARE(result.error.isEmpty(), error.isEmpty());
}

void TestRdapRenderer::relatedLinkIsTheRegistrarRecord()
{
    const RdapRenderer::Result result = RdapRenderer::render(json("{'links': [\n"
"        {'rel': 'self', 'type': 'application/rdap+json', 'href': 'https://rdap.registry.test/domain/A.COM'},\n"
"        {'rel': 'related', 'type': 'text/html', 'href': 'https://registrar.test/'},\n"
"        {'rel': 'related', 'type': 'application/rdap+json', 'href': 'https://rdap.registrar.test/domain/A.COM'}]}"));
    QCOMPARE(result.relatedHref, QStringLiteral("https://rdap.registrar.test/domain/A.COM"));
}

void TestRdapRenderer::bootstrapTakesTheLongestMatch_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("base");

    QTest::newRow("TLD") << QStringLiteral("marrowby.com") << QStringLiteral("https://rdap.com.test/v1/");
    QTest::newRow("case and root dot") << QStringLiteral("Marrowby.COM.") << QStringLiteral("https://rdap.com.test/v1/");
    QTest::newRow("two labels beat one") << QStringLiteral("a.b.co.example") << QStringLiteral("https://co.test/");
    QTest::newRow("one label when two do not match") << QStringLiteral("a.other.example")
                                                     << QStringLiteral("http://example.test/rdap/");
    QTest::newRow("no service") << QStringLiteral("a.unknown") << QString();
    QTest::newRow("not a suffix match by characters") << QStringLiteral("acom") << QString();
}

void TestRdapRenderer::bootstrapTakesTheLongestMatch()
{
    QFETCH(QString, name);
    QFETCH(QString, base);

    RdapBootstrap bootstrap;
    QString error;
    QVERIFY(bootstrap.load(json("{'version': '1.0', 'services': [\n"
"        [['com', 'net'], ['http://rdap.com.test/v1/', 'https://rdap.com.test/v1/']],\n"
"        [['co.example'], ['https://co.test']],\n"
"        [['example'], ['http://example.test/rdap']],\n"
"        [['broken'], 'not a list'],\n"
"        'junk']}"), &error));
    QCOMPARE(bootstrap.baseFor(name).toString(), base);
}

HOLDRIN_TEST_MAIN(TestRdapRenderer)
#include "tst_rdaprenderer.moc"
