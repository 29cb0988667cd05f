// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Marrowby Industries

#include "TestMain.h"

#include "query/KnownRdapServices.h"
#include "query/ReferralParser.h"
#include "query/SecondLevelRegistries.h"
#include "query/WebOnlyRegistries.h"

#include <QFile>
#include <QRegularExpression>

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
    void registryReferral_data();
    void registryReferral();
    void isFollowableRdapUrl_data();
    void isFollowableRdapUrl();
    void builtInTablesMeetTheHostRule_data();
    void builtInTablesMeetTheHostRule();
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
    QTest::newRow("notice with colons above the record")
        << QStringLiteral("NOTICE: The expiration date displayed in this record is the date the\n"
                          "registrar's sponsorship of the domain name registration in the registry is\n"
                          "currently set to expire. Go to http://www.internic.net for detailed information.\n"
                          "you agree to use this data to: (a) allow, enable, or otherwise support\n\n"
                          "   Domain Name: MARROWBY.COM\n   Whois Server: whois.registrar.test\n")
        << QStringLiteral("whois.registrar.test") << QStringLiteral("whois.registrar.test");
    QTest::newRow("comments are not fields")
        << QStringLiteral("% Whois Server: w.test\n# Whois Server: w.test\nDomain Name: A.COM\n") << QString() << QString();
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
    QTest::newRow("single label") << QStringLiteral("localhost") << QString();
    QTest::newRow("dotless name of a registry") << QStringLiteral("NIRA") << QString();
    QTest::newRow("other port") << QStringLiteral("whois.example.com:25") << QString();
    QTest::newRow("IPv4 literal") << QStringLiteral("192.0.2.1") << QString();
    QTest::newRow("IPv4 literal on port 43") << QStringLiteral("192.0.2.1:43") << QString();
    QTest::newRow("IPv6 literal") << QStringLiteral("[2001:db8::1]") << QString();
    QTest::newRow("bare IPv6") << QStringLiteral("2001:db8::1") << QString();
    QTest::newRow("hex integer") << QStringLiteral("0x7f000001") << QString();
    QTest::newRow("plain integer") << QStringLiteral("2130706433") << QString();
    QTest::newRow("octal dotted") << QStringLiteral("0177.0.0.1") << QString();
    QTest::newRow("short dotted") << QStringLiteral("127.1") << QString();
    QTest::newRow("hex dotted") << QStringLiteral("whois://0x7f.1:43/") << QString();
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

void TestReferralParser::registryReferral_data()
{
    QTest::addColumn<QString>("reply");
    QTest::addColumn<QString>("raw");
    QTest::addColumn<QString>("host");

    QTest::newRow("whois scheme") << QStringLiteral("NetRange: 192.0.2.0 - 192.0.2.255\nReferralServer:  whois://whois.ripe.net\n")
                                  << QStringLiteral("whois://whois.ripe.net") << QStringLiteral("whois.ripe.net");
    QTest::newRow("rwhois on its own port")
        << QStringLiteral("ReferralServer: rwhois://rwhois.example.net:4321\n")
        << QStringLiteral("rwhois://rwhois.example.net:4321") << QString();
}

void TestReferralParser::registryReferral()
{
    QFETCH(QString, reply);
    QFETCH(QString, raw);
    QFETCH(QString, host);
    const ReferralParser::Referral referral = ReferralParser::registryReferral(reply);
    QCOMPARE(referral.raw, raw);
    QCOMPARE(referral.host, host);
}

void TestReferralParser::isFollowableRdapUrl_data()
{
    QTest::addColumn<QString>("url");
    QTest::addColumn<bool>("followable");

    QTest::newRow("https host") << QStringLiteral("https://rdap.example.net/domain/a.example") << true;
    QTest::newRow("https, port 443") << QStringLiteral("https://rdap.example.net:443/") << true;
    QTest::newRow("plain http") << QStringLiteral("http://rdap.example.net/") << false;
    QTest::newRow("other port") << QStringLiteral("https://rdap.example.net:8443/") << false;
    QTest::newRow("IPv4 host") << QStringLiteral("https://192.0.2.1/") << false;
    QTest::newRow("IPv6 host") << QStringLiteral("https://[2001:db8::1]/") << false;
    QTest::newRow("dotless host") << QStringLiteral("https://rdap/") << false;
    QTest::newRow("user info") << QStringLiteral("https://user@rdap.example.net/") << false;
}

void TestReferralParser::isFollowableRdapUrl()
{
    QFETCH(QString, url);
    QFETCH(bool, followable);
    QCOMPARE(ReferralParser::isFollowableRdapUrl(QUrl(url)), followable);
}

void TestReferralParser::builtInTablesMeetTheHostRule_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("line");

    const QStringList files = {QStringLiteral("query-forms.txt"), QStringLiteral("second-level-registries.txt"),
                               QStringLiteral("rdap-services.txt"), QStringLiteral("web-only-registries.txt")};
    for (const QString &file : files) {
        QFile table(QLatin1String(":/query/") + file);
        QVERIFY(table.open(QIODevice::ReadOnly));
        int number = 0;
        for (const QString &line : QString::fromUtf8(table.readAll()).split(u'\n')) {
            ++number;
            if (!line.isEmpty() && !line.startsWith(u'#'))
                QTest::addRow("%s:%d", qPrintable(file), number) << file << line;
        }
    }
}

void TestReferralParser::builtInTablesMeetTheHostRule()
{
    QFETCH(QString, file);
    QFETCH(QString, line);

    if (file == QLatin1String("query-forms.txt")) {
        const QStringList fields = line.split(u'|');
        QVERIFY2(fields.size() >= 4 && fields[2].contains(QLatin1String("%1")) && !fields[3].trimmed().isEmpty(),
                 qPrintable(line));
        const QString server = fields[0].trimmed();
        QCOMPARE(ReferralParser::followableHost(server), server);
        QVERIFY2(QStringList({QStringLiteral("domain"), QStringLiteral("address"), QStringLiteral("asn")})
                     .contains(fields[1].trimmed()),
                 qPrintable(line));
        return;
    }

    // Suffix, value and where the entry was checked: no entry goes uncited.
    const QStringList fields = line.split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts);
    QVERIFY2(fields.size() >= 3, qPrintable(line));
    const QString &suffix = fields[0];
    const QString &value = fields[1];
    QVERIFY2(ReferralParser::followableHost(QLatin1String("whois.") + suffix) == QLatin1String("whois.") + suffix
                 && suffix == suffix.toLower(),
             qPrintable(suffix));

    // The entry is the one a name below the suffix finds, not one shadowed by another line.
    const QString name = QLatin1String("marrowby.") + suffix;
    if (file == QLatin1String("second-level-registries.txt")) {
        QCOMPARE(ReferralParser::followableHost(value), value);
        QCOMPARE(SecondLevelRegistries::serverFor(name), value);
    } else if (file == QLatin1String("rdap-services.txt")) {
        QVERIFY2(ReferralParser::isFollowableRdapUrl(QUrl(value)) && value.endsWith(u'/'), qPrintable(value));
        QCOMPARE(KnownRdapServices::baseFor(name), QUrl(value));
    } else {
        QVERIFY2(ReferralParser::isFollowableRdapUrl(QUrl(value)), qPrintable(value));
        QCOMPARE(WebOnlyRegistries::pageFor(name), QUrl(value));
    }
}

HOLDRIN_TEST_MAIN(TestReferralParser)
#include "tst_referralparser.moc"
