// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Marrowby Industries

#pragma once

#include "query/HostResolver.h"
#include "query/RdapBootstrap.h"
#include "query/StopRequest.h"
#include "query/WhoisConnection.h"

#include <QObject>
#include <QString>
#include <QUrl>

#include <memory>

class QNetworkAccessManager;

// The main window's WHOIS component: looks a domain up and holds the reply.
// It asks InterNIC first and follows the record from there: to the
// registrar, through IANA to other registries, and to RDAP where a server
// no longer answers on port 43.
class WhoisClient : public QObject
{
    Q_OBJECT

public:
    static constexpr const char *DefaultServer = "whois.internic.net";
    static constexpr quint16 DefaultPort = 43;
    static constexpr const char *DefaultBootstrap = "https://data.iana.org/rdap/dns.json";

    // Tests point the component at their own servers; the program uses the
    // defaults and sets nothing afterwards.
    explicit WhoisClient(const QString &server = QString::fromLatin1(DefaultServer),
                         quint16 port = DefaultPort,
                         std::shared_ptr<const HostResolver> resolver = nullptr,
                         const QUrl &rdapBootstrap = QUrl(QString::fromLatin1(DefaultBootstrap)),
                         const ConnectionLimits &limits = {}, QObject *parent = nullptr);
    ~WhoisClient() override;

    // Returns once the whole reply is in; throws Failure on failure, and
    // LookupStopped when stop is raised meanwhile (from another thread, as
    // a rule, since this one waits here). Without a stop request, only the
    // limits end the lookup.
    void lookup(const QString &domain);
    void lookup(const QString &domain, const StopRequest &stop);
    // Hands the reply over rather than keeping a copy of a text that may
    // be megabytes long: a second read before the next lookup is empty.
    QString replyText();

    // Why a typed domain cannot be sent, or an empty text when it can.
    static QString queryProblem(const QString &domain);

private:
    QString m_server;
    quint16 m_port;
    std::shared_ptr<const HostResolver> m_resolver;
    QUrl m_rdapBootstrap;
    ConnectionLimits m_limits;
    QNetworkAccessManager *m_network;
    RdapBootstrap m_bootstrap;
    QString m_replyText;
};
