// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Marrowby Industries

#pragma once

#include "query/HostResolver.h"
#include "query/HttpGetter.h"
#include "query/LookupHop.h"
#include "query/RdapBootstrap.h"
#include "query/ReferralParser.h"
#include "query/Route.h"
#include "query/StopRequest.h"
#include "query/ThrottleDetector.h"
#include "query/WhoisConnection.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QUrl>

#include <chrono>

class QNetworkAccessManager;

// One lookup from the first server to the record: registrar referrals,
// IANA for other TLDs and for addresses and AS numbers, registries below a
// TLD, and RDAP where a server has no port 43 or the first server fails.
// Route decides which server comes next; this asks it, within the limits.
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

    // The servers' answers and the notes between them, as one text. Throws
    // Failure when the domain cannot be sent, or when neither the first
    // server nor RDAP brought a record.
    QString run(const QString &typed);

    // Every answer of the last run, in the order they came. The text of a
    // long one is handed on in run()'s result and is empty here.
    const QList<LookupHop> &hops() const;

private:
    // One part of the reply text: a line of its own (a server's header or
    // a note), then the answer of hops()[hop] where hop is not negative.
    struct Entry {
        QString line;
        qsizetype hop = -1;
    };

    // What the first server is sent, without the line end.
    QString firstQuery() const;
    QString firstServerFailed(const QString &description);
    void follow(Route::Hop last);
    Route::Hop askWhois(Route::Server server, const ReferralParser::Referral &referral);
    // One WHOIS exchange, its answer recorded below header; throws Failure.
    Route::Hop askWhoisServer(Route::Server server, const QString &host, quint16 port, const QString &query,
                              const QString &header);
    void askRdap();
    bool loadBootstrap(RdapBootstrap::Registry registry);
    QUrl rdapHop(const QUrl &url, LookupHop::Role role);
    bool mayFollowRdap(const QUrl &url);
    bool isFollowableRdap(const QUrl &url) const;
    HttpGetter::Response httpGet(const QUrl &url, const QByteArray &accept) const;
    bool mayAsk(const QString &key, const QString &what);
    bool hopLimitReached(const QString &what);
    ConnectionLimits hopLimits() const;
    // An address, a prefix or an AS number rather than a name.
    bool isNumber() const;

    void addHop(LookupHop hop, const QString &header);
    // A line of its own, such as why a server gave nothing.
    void note(const QString &sentence);
    // The server, that it limits how often it may be asked, and when to ask again.
    void noteThrottle(const QString &limitsQueries, const ThrottleDetector::Throttle &throttle);
    void noteUnicodeForm();
    QString replyText();

    Services m_services;
    Route::Target m_target;
    QList<LookupHop> m_hops;
    QList<Entry> m_entries;
    QSet<QString> m_asked;
    QDeadlineTimer m_deadline;
    int m_serversAsked = 0;
    int m_records = 0;
    bool m_rdapTried = false;
};
