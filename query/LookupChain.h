// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Marrowby Industries

#pragma once

#include "query/HostResolver.h"
#include "query/HttpGetter.h"
#include "query/NumberResource.h"
#include "query/RdapBootstrap.h"
#include "query/ReferralParser.h"
#include "query/StopRequest.h"
#include "query/WhoisConnection.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QUrl>

#include <chrono>

class QNetworkAccessManager;

// One lookup from the first server to the record: registrar referrals,
// IANA for other TLDs and for addresses and AS numbers, registries below a
// TLD, and RDAP where a server has no port 43 or the first server fails.
// Servers after the first that fail leave a note; the lookup fails only
// when no route brought a record.
class LookupChain
{
    Q_DECLARE_TR_FUNCTIONS(LookupChain)

public:
    struct Services {
        QString firstHost;
        quint16 firstPort;
        const HostResolver &resolver;
        QNetworkAccessManager &network;
        RdapBootstrap &bootstrap; // kept between lookups: fetched once a run
        QUrl bootstrapUrl;        // dns.json; the address and AS files lie beside it
        ConnectionLimits limits;
        const StopRequest &stop;
        // All hops of one lookup together; later hops get what is left of it.
        std::chrono::milliseconds lookupLimit{120000};
    };

    static constexpr int MaxHops = 4;

    explicit LookupChain(const Services &services);

    // Throws Failure when the domain cannot be sent, or when neither the
    // first server nor RDAP brought a record.
    QString run(const QString &typed);

    // The name as it goes on the wire: Unicode names in their ACE form.
    // Throws Failure when a Unicode name has none.
    static QString aceName(const QString &typed);
    // What the first server is sent, without the line end.
    static QString firstQuery(const QString &ace);

private:
    enum class Outcome { Answered, Failed, NotAsked };

    QString firstServerFailed(const QString &description);
    void followName();
    Outcome askWhois(const ReferralParser::Referral &referral, QString *reply);
    // One WHOIS exchange, its reply decoded; throws Failure.
    QString askWhoisServer(const QString &host, quint16 port, const QString &query) const;
    // Asks a registry and follows its referral; RDAP when it fails.
    void askRegistry(const ReferralParser::Referral &registry);
    // Follows a registrar's or another registry's referral in reply; false when there is none.
    bool followReferral(const QString &reply);
    void askIana();
    void askRdap();
    bool loadBootstrap(RdapBootstrap::Registry registry);
    QUrl rdapHop(const QUrl &url);
    bool mayFollowRdap(const QUrl &url);
    bool isFollowableRdap(const QUrl &url) const;
    HttpGetter::Response httpGet(const QUrl &url, const QByteArray &accept) const;
    bool mayAsk(const QString &key, const QString &what);
    bool hopLimitReached(const QString &what);
    ConnectionLimits hopLimits() const;
    // An address, a prefix or an AS number rather than a name.
    bool isNumber() const;

    void appendHop(const QString &header, const QString &body);
    // A line of its own, such as why a server gave nothing.
    void note(const QString &sentence);

    Services m_services;
    QString m_name;
    NumberResource m_number;
    QString m_text;
    QStringList m_notes;
    QSet<QString> m_asked;
    QDeadlineTimer m_deadline;
    int m_hops = 0;
    int m_records = 0;
    bool m_rdapTried = false;
};
