#include "TestMain.h"

#include "query/RdapBootstrap.h"
#include "query/RdapRenderer.h"

class TestRdapRenderer : public QObject
{
    Q_OBJECT

private slots:
    void render_data();
    void render();
    void relatedLinkIsTheRegistrarRecord();
    void bootstrapTakesTheLongestMatch_data();
    void bootstrapTakesTheLongestMatch();
};

void TestRdapRenderer::render_data()
{
    QTest::addColumn<QByteArray>("json");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("error");

    QTest::newRow("full domain record") << QByteArray(json("{\n"
"        'objectClassName': 'domain', 'ldhName': 'MARROWBY.COM', 'handle': '123_DOMAIN_COM-VRSN',\n"
"        'status': ['client transfer prohibited', 'active'],\n"
"        'events': [{'eventAction': 'registration', 'eventDate': '2001-02-03T04:05:06Z'},\n"
"                   {'eventAction': 'expiration', 'eventDate': '2031-02-03T04:05:06Z'},\n"
"                   {'eventAction': 'last changed', 'eventDate': '2025-01-01T00:00:00Z'}],\n"
"        'nameservers': [{'ldhName': 'NS1.MARROWBY.COM'}, {'ldhName': 'NS2.MARROWBY.COM'}],\n"
"        'secureDNS': {'delegationSigned': false},\n"
"        'entities': [{'roles': ['registrar'], 'handle': '292',\n"
"            'publicIds': [{'type': 'IANA Registrar ID', 'identifier': '292'}],\n"
"            'vcardArray': ['vcard', [['version', {}, 'text', '4.0'], ['fn', {}, 'text', 'Example Registrar, Inc.']]],\n"
"            'entities': [{'roles': ['abuse'], 'vcardArray': ['vcard', [\n"
"                ['fn', {}, 'text', 'Abuse Desk'], ['tel', {'type': 'voice'}, 'uri', 'tel:+1.5555550100'],\n"
"                ['email', {}, 'text', 'abuse@registrar.test']]]}]},\n"
"            {'roles': ['registrant', 'administrative'], 'vcardArray': ['vcard', [\n"
"                ['fn', {}, 'text', 'Jo Holder'], ['org', {}, 'text', 'Marrowby Industries'],\n"
"                ['adr', {}, 'text', ['', '', ['1 Main St', 'Floor 2'], 'Springfield', '', '12345', 'US']]]]}],\n"
"        'notices': [{'title': 'Terms of Use', 'description': ['Service subject to terms.', 'Second line.']}],\n"
"        'unknownField': {'deep': [1, 2, 3]}\n"
"    }")) << QStringLiteral("Domain Name: MARROWBY.COM\n"
                           "Handle: 123_DOMAIN_COM-VRSN\n"
                           "Status: client transfer prohibited\n"
                           "Status: active\n"
                           "Registration: 2001-02-03T04:05:06Z\n"
                           "Expiration: 2031-02-03T04:05:06Z\n"
                           "Last Changed: 2025-01-01T00:00:00Z\n"
                           "Name Server: NS1.MARROWBY.COM\n"
                           "Name Server: NS2.MARROWBY.COM\n"
                           "DNSSEC: unsigned\n"
                           "Registrar: Example Registrar, Inc.\n"
                           "  IANA ID: 292\n"
                           "  Abuse: Abuse Desk\n"
                           "    E-mail: abuse@registrar.test\n"
                           "    Phone: +1.5555550100\n"
                           "Registrant, Administrative: Jo Holder\n"
                           "  Organisation: Marrowby Industries\n"
                           "  Address: 1 Main St, Floor 2, Springfield, 12345, US\n"
                           "Notice: Terms of Use\n"
                           "  Service subject to terms.\n"
                           "  Second line.\n")
      << QString();
    QTest::newRow("unicode name shown beside the ACE name")
        << QByteArray(json("{'ldhName': 'xn--bcher-kva.example', 'unicodeName': 'b\\u00fccher.example'}"))
        << QStringLiteral("Domain Name: xn--bcher-kva.example\nUnicode Name: b\u00FCcher.example\n") << QString();
    QTest::newRow("wrong types everywhere are skipped")
        << QByteArray(json("{'ldhName': 5, 'handle': [], 'status': 'active', 'events': [1, 'x', {'eventAction': 3}],\n"
"                         'nameservers': {'ldhName': 'a'}, 'secureDNS': {'delegationSigned': 'yes'},\n"
"                         'entities': [7, {'roles': 'registrar', 'vcardArray': ['vcard', 'fn']}],\n"
"                         'notices': [{'title': {}, 'description': 'text'}], 'links': 'none'}"))
        << QStringLiteral("Contact\n") << QString();
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
