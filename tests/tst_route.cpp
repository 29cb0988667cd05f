// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Marrowby Industries

#include "TestMain.h"

#include "query/Route.h"

Q_DECLARE_METATYPE(Route::Server)
Q_DECLARE_METATYPE(Route::Outcome)
Q_DECLARE_METATYPE(Route::Action)
Q_DECLARE_METATYPE(LookupHop::Role)

namespace {
using Action = Route::Action;
using Outcome = Route::Outcome;
using Role = LookupHop::Role;
using Server = Route::Server;

const QString Registrar = QStringLiteral("whois.registrar.test");
} // namespace

class TestRoute : public QObject
{
    Q_OBJECT

private slots:
    void nextServer_data();
    void nextServer();
    void target_data();
    void target();
};

void TestRoute::nextServer_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<Server>("server");
    QTest::addColumn<Outcome>("outcome");
    QTest::addColumn<QString>("reply");
    QTest::addColumn<Action>("action");
    QTest::addColumn<Server>("nextServer");
    QTest::addColumn<QString>("nextHost"); // empty where the reply named no server that may be asked
    QTest::addColumn<Role>("role");

    const QString com = QStringLiteral("marrowby.com");
    const QString other = QStringLiteral("marrowby.example");
    const QString address = QStringLiteral("192.0.2.1");
    const QString otherNoMatch = QStringLiteral("No match for \"MARROWBY.EXAMPLE\".\n");
    const QString limited = QStringLiteral("Your connection limit exceeded. Please slow down and try again later.\n");
    const QString none;
    const auto row = [](const char *name) { return &QTest::newRow(name); };

    // The first server: InterNIC's registry for com, net and edu.
    *row("registrar spelling, indented") << com << Server::First << Outcome::Answered
        << QStringLiteral("   Domain Name: MARROWBY.COM\n   Registrar WHOIS Server: whois.registrar.test\n")
        << Action::AskWhois << Server::Registrar << Registrar << Role::Registry;
    *row("older spelling") << com << Server::First << Outcome::Answered
        << QStringLiteral("Domain Name: MARROWBY.COM\nWhois Server: whois.registrar.test\n")
        << Action::AskWhois << Server::Registrar << Registrar << Role::Registry;
    *row("scheme, port 43 and slash") << com << Server::First << Outcome::Answered
        << QStringLiteral("Registrar WHOIS Server: whois://whois.registrar.test:43/\n")
        << Action::AskWhois << Server::Registrar << Registrar << Role::Registry;
    *row("referral that may not be followed") << com << Server::First << Outcome::Answered
        << QStringLiteral("Registrar WHOIS Server: whois.registrar.test:4343\n")
        << Action::AskWhois << Server::Registrar << none << Role::Registry;
    *row("com name without a referral") << com << Server::First << Outcome::Answered
        << QStringLiteral("Domain Name: MARROWBY.COM\n") << Action::Stop << Server::Registry << none << Role::Registry;
    *row("no match under com is the registry's word") << com << Server::First << Outcome::Answered
        << QStringLiteral("No match for \"MARROWBY.COM\".\n") << Action::Stop << Server::Registry << none << Role::Registry;
    *row("no match under another TLD") << other << Server::First << Outcome::Answered << otherNoMatch
        << Action::AskWhois << Server::Iana << QStringLiteral("whois.iana.org") << Role::Referral;
    *row("final dot") << QStringLiteral("marrowby.example.") << Server::First << Outcome::Answered << otherNoMatch
        << Action::AskWhois << Server::Iana << QStringLiteral("whois.iana.org") << Role::Referral;
    *row("below a TLD: uk.com") << QStringLiteral("marrowby.uk.com") << Server::First << Outcome::Answered
        << QStringLiteral("No match for \"MARROWBY.UK.COM\".\n")
        << Action::AskWhois << Server::Registry << QStringLiteral("whois.centralnic.net") << Role::Referral;
    *row("below a TLD: co.za, final dot") << QStringLiteral("marrowby.co.za.") << Server::First << Outcome::Answered
        << otherNoMatch << Action::AskWhois << Server::Registry << QStringLiteral("whois.coza.net.za") << Role::Referral;
    *row("below a TLD: eu.org") << QStringLiteral("marrowby.eu.org") << Server::First << Outcome::Answered
        << otherNoMatch << Action::AskWhois << Server::Registry << QStringLiteral("whois.eu.org") << Role::Referral;
    *row("below a TLD: ac.uk") << QStringLiteral("marrowby.ac.uk") << Server::First << Outcome::Answered
        << otherNoMatch << Action::AskWhois << Server::Registry << QStringLiteral("whois.ja.net") << Role::Referral;
    *row("below a TLD: gov.uk") << QStringLiteral("marrowby.gov.uk") << Server::First << Outcome::Answered
        << otherNoMatch << Action::AskWhois << Server::Registry << QStringLiteral("whois.ja.net") << Role::Referral;
    *row("search") << QStringLiteral("=marrowby.com") << Server::First << Outcome::Answered
        << QStringLiteral("Domain Name: MARROWBY.COM\nRegistrar WHOIS Server: whois.registrar.test\n")
        << Action::Stop << Server::Registry << none << Role::Registry;
    *row("address") << address << Server::First << Outcome::Answered << QStringLiteral("No match for \"192.0.2.1\".\n")
        << Action::AskWhois << Server::Iana << QStringLiteral("whois.iana.org") << Role::Referral;
    *row("first server failed") << com << Server::First << Outcome::Failed << none
        << Action::AskRdap << Server::Registry << none << Role::Registry;
    *row("first server failed on a search") << QStringLiteral("=marrowby.com") << Server::First << Outcome::Failed
        << none << Action::Stop << Server::Registry << none << Role::Registry;
    *row("throttled is no no-match") << other << Server::First << Outcome::Throttled
        << QStringLiteral("No match for now: query limit exceeded.\n")
        << Action::AskRdap << Server::Registry << none << Role::Referral;

    // IANA.
    *row("IANA refers") << other << Server::Iana << Outcome::Answered
        << QStringLiteral("refer:        whois.nic.example\n\ndomain:       EXAMPLE\n")
        << Action::AskWhois << Server::Registry << QStringLiteral("whois.nic.example") << Role::Referral;
    *row("TLD without port 43") << other << Server::Iana << Outcome::Answered
        << QStringLiteral("domain:       EXAMPLE\n\nnserver:      A.NIC.EXAMPLE 192.0.2.53\nwhois:\n")
        << Action::AskRdap << Server::Registry << none << Role::Referral;
    *row("0 objects") << other << Server::Iana << Outcome::Answered
        << QStringLiteral("% IANA WHOIS server\n% for more information on IANA, visit http://www.iana.org\n"
                          "% This query returned 0 objects.\n")
        << Action::Stop << Server::Registry << none << Role::Registry;
    *row("TLD not assigned") << QStringLiteral("marrowby.bl") << Server::Iana << Outcome::Answered
        << QStringLiteral("domain:       BL\n\norganisation: Not assigned\n\nstatus:       ACTIVE\n")
        << Action::Stop << Server::Registry << none << Role::Registry;
    *row("name IANA holds") << QStringLiteral("marrowby.int") << Server::Iana << Outcome::Answered
        << QStringLiteral("domain:       MARROWBY.INT\n\norganisation: Marrowby Treaty\n")
        << Action::Stop << Server::Registry << none << Role::Registry;
    *row("name under a TLD IANA runs") << QStringLiteral("nothing.int") << Server::Iana << Outcome::Answered
        << QStringLiteral("domain:       INT\n\nnserver:      NS.UU.NET 192.0.2.53\nwhois:        whois.iana.org\n")
        << Action::Stop << Server::Registry << none << Role::Registry;
    *row("IANA refers to itself") << other << Server::Iana << Outcome::Answered << QStringLiteral("refer: whois.iana.org\n")
        << Action::Stop << Server::Registry << none << Role::Registry;
    *row("IANA refers an address") << address << Server::Iana << Outcome::Answered << QStringLiteral("refer: whois.arin.net\n")
        << Action::AskWhois << Server::Registry << QStringLiteral("whois.arin.net") << Role::Referral;
    *row("address IANA holds") << QStringLiteral("10.1.2.3") << Server::Iana << Outcome::Answered
        << QStringLiteral("inetnum:      10.0.0.0 - 10.255.255.255\n")
        << Action::Stop << Server::Registry << none << Role::Registry;
    *row("IANA failed") << other << Server::Iana << Outcome::Failed << none
        << Action::AskRdap << Server::Registry << none << Role::Referral;
    *row("IANA throttled") << other << Server::Iana << Outcome::Throttled << limited
        << Action::AskRdap << Server::Registry << none << Role::Referral;
    *row("IANA not asked") << other << Server::Iana << Outcome::NotAsked << none
        << Action::Stop << Server::Registry << none << Role::Registry;

    // A registry below IANA, or a regional registry.
    *row("registry names the registrar") << other << Server::Registry << Outcome::Answered
        << QStringLiteral("Domain: marrowby.example\nRegistrar WHOIS Server: whois.registrar.test\n")
        << Action::AskWhois << Server::Registrar << Registrar << Role::Registry;
    *row("throttled reply is not followed") << other << Server::Registry << Outcome::Throttled
        << QStringLiteral("Registrar WHOIS Server: whois.registrar.test\nWHOIS LIMIT EXCEEDED\n")
        << Action::AskRdap << Server::Registry << none << Role::Registry;
    *row("registry failed") << other << Server::Registry << Outcome::Failed << none
        << Action::AskRdap << Server::Registry << none << Role::Registry;
    *row("regional registry hands on") << address << Server::Registry << Outcome::Answered
        << QStringLiteral("NetRange: 192.0.2.0 - 192.0.2.255\nReferralServer: whois://whois.ripe.net\n")
        << Action::AskWhois << Server::Registry << QStringLiteral("whois.ripe.net") << Role::Referral;
    *row("regional registry's own record") << address << Server::Registry << Outcome::Answered
        << QStringLiteral("inetnum: 192.0.2.0 - 192.0.2.255\n")
        << Action::Stop << Server::Registry << none << Role::Registry;

    // A registrar.
    *row("registrar refers on") << other << Server::Registrar << Outcome::Answered
        << QStringLiteral("Registrar WHOIS Server: whois.reseller.test\nRegistrant: Jo Holder\n")
        << Action::AskWhois << Server::Registrar << QStringLiteral("whois.reseller.test") << Role::Registrar;
    *row("registrar names itself") << other << Server::Registrar << Outcome::Answered
        << QStringLiteral("Registrar WHOIS Server: WHOIS.REGISTRAR.TEST\nRegistrant: Jo Holder\n")
        << Action::Stop << Server::Registry << none << Role::Registrar;
    *row("registrar failed") << other << Server::Registrar << Outcome::Failed << none
        << Action::AskRdap << Server::Registry << none << Role::Registrar;
}

void TestRoute::nextServer()
{
    QFETCH(QString, typed);
    QFETCH(Server, server);
    QFETCH(Outcome, outcome);
    QFETCH(QString, reply);
    QFETCH(Action, action);
    QFETCH(Server, nextServer);
    QFETCH(QString, nextHost);
    QFETCH(Role, role);

    const Route::Target target = Route::target(typed);
    const Route::Hop last{server, server == Server::Registrar ? Registrar : QStringLiteral("whois.other.test"), outcome,
                          reply};
    const Route::Step step = Route::next(target, last);
    QCOMPARE(step.action, action);
    QCOMPARE(step.server, nextServer);
    QCOMPARE(step.referral.host, nextHost);
    QCOMPARE(Route::role(target, last), role);
}

void TestRoute::target_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("name");

    const int name = int(Route::Target::Kind::Name);
    const int number = int(Route::Target::Kind::Number);
    const int search = int(Route::Target::Kind::Search);
    QTest::newRow("name") << QStringLiteral("marrowby.com") << name << QStringLiteral("marrowby.com");
    QTest::newRow("spaces around") << QStringLiteral(" marrowby.com  ") << name << QStringLiteral("marrowby.com");
    QTest::newRow("final dot") << QStringLiteral("marrowby.com.") << name << QStringLiteral("marrowby.com");
    QTest::newRow("only one final dot is left off") << QStringLiteral("marrowby.com..") << name
                                                    << QStringLiteral("marrowby.com..");
    QTest::newRow("Unicode") << QStringLiteral("B\u00FCcher.de.") << name << QStringLiteral("xn--bcher-kva.de");
    QTest::newRow("address") << QStringLiteral(" 192.0.2.1 ") << number << QStringLiteral("192.0.2.1");
    QTest::newRow("AS number") << QStringLiteral("AS64496") << number << QStringLiteral("AS64496");
    QTest::newRow("search with spaces goes as typed") << QStringLiteral(" domain marrowby.com") << search
                                                      << QStringLiteral(" domain marrowby.com");
}

void TestRoute::target()
{
    QFETCH(QString, typed);
    QFETCH(int, kind);
    QFETCH(QString, name);

    const Route::Target target = Route::target(typed);
    QCOMPARE(int(target.kind), kind);
    QCOMPARE(target.name, name);
}

HOLDRIN_TEST_MAIN(TestRoute)
#include "tst_route.moc"
