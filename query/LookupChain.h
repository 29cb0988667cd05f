#pragma once

#include "query/HostResolver.h"
#include "query/ReferralParser.h"
#include "query/StopRequest.h"
#include "query/WhoisConnection.h"

#include <QCoreApplication>
#include <QSet>
#include <QString>
#include <QUrl>

class QNetworkAccessManager;
class RdapBootstrap;

// One lookup from the first server to the record: registrar referrals,
// IANA for other TLDs, and RDAP where a server has no port 43. Only the
// first server's failure is fatal; later hops that fail leave a note.
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
        QUrl bootstrapUrl;
        ConnectionLimits limits;
        const StopRequest &stop;
    };

    static constexpr int MaxHops = 4;

    explicit LookupChain(const Services &services);

    // Throws Failure when the domain cannot be sent or the first server fails.
    QString run(const QString &typed);

    // The name as it goes on the wire: Unicode names in their ACE form.
    // Throws Failure when a Unicode name has none.
    static QString aceName(const QString &typed);
    // What the first server is sent, without the line end.
    static QString firstQuery(const QString &ace);

private:
    enum class Outcome { Answered, Failed, NotAsked };

    Outcome askWhois(const ReferralParser::Referral &referral, QString *reply);
    // One WHOIS exchange, its reply decoded; throws Failure.
    QString askWhoisServer(const QString &host, quint16 port, const QString &query) const;
    // Follows a registrar referral in reply; false when there is none.
    bool followRegistrar(const QString &reply);
    void askIana();
    void askRdap();
    QUrl rdapHop(const QUrl &url);
    bool mayAsk(const QString &key, const QString &what);
    bool hopLimitReached(const QString &what);

    void appendHop(const QString &header, const QString &body);
    // A line of its own, such as why a server gave nothing.
    void note(const QString &sentence);

    Services m_services;
    QString m_name;
    QString m_text;
    QSet<QString> m_asked;
    int m_hops = 0;
    bool m_rdapTried = false;
};
