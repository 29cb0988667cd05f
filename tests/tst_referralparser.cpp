#include "TestMain.h"

#include "query/ReferralParser.h"

class TestReferralParser : public QObject
{
    Q_OBJECT

private slots:
    void registrarServer_data();
    void registrarServer();
    void ianaRefer_data();
    void ianaRefer();
    void followableHost_data();
    void followableHost();
};

void TestReferralParser::registrarServer_data()
{
    QTest::addColumn<QString>("reply");
    QTest::addColumn<QString>("raw");
    QTest::addColumn<QString>("host");

    QTest::newRow("indented registry record")
        << QStringLiteral("   Domain Name: MARROWBY.COM\n   Registrar WHOIS Server: whois.registrar.test\n"
                          "   Registrar URL: http://registrar.test\n>>> Last update of whois database <<<\n")
        << QStringLiteral("whois.registrar.test") << QStringLiteral("whois.registrar.test");
    QTest::newRow("older spelling, not indented")
        << QStringLiteral("Domain Name: MARROWBY.COM\nWhois Server: WHOIS.Registrar.TEST\n")
        << QStringLiteral("WHOIS.Registrar.TEST") << QStringLiteral("whois.registrar.test");
    QTest::newRow("key case and spacing")
        << QStringLiteral("registrar whois server :   whois.registrar.test  \n")
        << QStringLiteral("whois.registrar.test") << QStringLiteral("whois.registrar.test");
    QTest::newRow("empty value") << QStringLiteral("Domain Name: X.COM\nRegistrar WHOIS Server:\n")
                                 << QString() << QString();
    QTest::newRow("only the first record counts")
        << QStringLiteral("Server Name: NS1.MARROWBY.COM\nIP Address: 192.0.2.1\n\n"
                          "Domain Name: MARROWBY.COM\nWhois Server: whois.registrar.test\n")
        << QString() << QString();
    QTest::newRow("comments before the record do not end it")
        << QStringLiteral("% a comment: with a colon\n\nDomain Name: A.COM\nWhois Server: w.test\n")
        << QStringLiteral("w.test") << QStringLiteral("w.test");
    QTest::newRow("nothing after the update marker")
        << QStringLiteral("Domain Name: A.COM\n>>> Last update <<<\nWhois Server: w.test\n") << QString() << QString();
    QTest::newRow("forbidden value is kept raw")
        << QStringLiteral("Registrar WHOIS Server: 192.0.2.7:4343\n") << QStringLiteral("192.0.2.7:4343") << QString();
    QTest::newRow("no reply") << QString() << QString() << QString();
}

void TestReferralParser::registrarServer()
{
    QFETCH(QString, reply);
    QFETCH(QString, raw);
    QFETCH(QString, host);
    const ReferralParser::Referral referral = ReferralParser::registrarServer(reply);
    QCOMPARE(referral.raw, raw);
    QCOMPARE(referral.host, host);
}

void TestReferralParser::ianaRefer_data()
{
    QTest::addColumn<QString>("reply");
    QTest::addColumn<QString>("host");

    QTest::newRow("IANA domain reply")
        << QStringLiteral("% IANA WHOIS server\n% for more information on IANA, visit http://www.iana.org\n"
                          "% This query returned 1 object\n\nrefer:        whois.nic.example\n\n"
                          "domain:       EXAMPLE\n")
        << QStringLiteral("whois.nic.example");
    QTest::newRow("no refer line") << QStringLiteral("domain:       EXAMPLE\nwhois:\n") << QString();
}

void TestReferralParser::ianaRefer()
{
    QFETCH(QString, reply);
    QFETCH(QString, host);
    QCOMPARE(ReferralParser::ianaRefer(reply).host, host);
}

void TestReferralParser::followableHost_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("host");

    QTest::newRow("bare name") << QStringLiteral("whois.example.com") << QStringLiteral("whois.example.com");
    QTest::newRow("whois scheme, port 43, slash") << QStringLiteral("whois://whois.example.com:43/")
                                                  << QStringLiteral("whois.example.com");
    QTest::newRow("rwhois scheme") << QStringLiteral("RWHOIS://whois.example.com") << QStringLiteral("whois.example.com");
    QTest::newRow("trailing dot") << QStringLiteral("whois.example.com.") << QStringLiteral("whois.example.com");
    QTest::newRow("single label") << QStringLiteral("localhost") << QStringLiteral("localhost");
    QTest::newRow("other port") << QStringLiteral("whois.example.com:25") << QString();
    QTest::newRow("IPv4 literal") << QStringLiteral("192.0.2.1") << QString();
    QTest::newRow("IPv4 literal on port 43") << QStringLiteral("192.0.2.1:43") << QString();
    QTest::newRow("IPv6 literal") << QStringLiteral("[2001:db8::1]") << QString();
    QTest::newRow("web URL with a path") << QStringLiteral("http://www.example.com/whois") << QString();
    QTest::newRow("whois URL with a path") << QStringLiteral("whois://whois.example.com/x") << QString();
    QTest::newRow("space inside") << QStringLiteral("whois.example.com extra") << QString();
    QTest::newRow("leading hyphen label") << QStringLiteral("-bad.example.com") << QString();
    QTest::newRow("empty label") << QStringLiteral("whois..example.com") << QString();
    QTest::newRow("label of 64") << QString(QString(64, u'a') + QStringLiteral(".com")) << QString();
    QTest::newRow("longer than 255") << QString(QStringList(64, QStringLiteral("abc")).join(u'.')) << QString();
    QTest::newRow("non-ASCII") << QStringLiteral("wh\u00F6is.example.com") << QString();
    QTest::newRow("only a scheme") << QStringLiteral("whois://") << QString();
}

void TestReferralParser::followableHost()
{
    QFETCH(QString, value);
    QFETCH(QString, host);
    QCOMPARE(ReferralParser::followableHost(value), host);
}

HOLDRIN_TEST_MAIN(TestReferralParser)
#include "tst_referralparser.moc"
