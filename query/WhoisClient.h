#pragma once

#include "query/HostResolver.h"
#include "query/WhoisConnection.h"

#include <QObject>
#include <QString>

#include <memory>

// The main window's WHOIS component: looks a domain up and holds the reply.
class WhoisClient : public QObject
{
    Q_OBJECT

public:
    static constexpr const char *DefaultServer = "whois.internic.net";
    static constexpr quint16 DefaultPort = 43;

    // Tests point the component at their own servers; the program uses the
    // defaults and sets nothing afterwards.
    explicit WhoisClient(const QString &server = QString::fromLatin1(DefaultServer),
                         quint16 port = DefaultPort,
                         std::shared_ptr<const HostResolver> resolver = nullptr,
                         const ConnectionLimits &limits = {}, QObject *parent = nullptr);

    // Returns once the whole reply is in; throws LookupError on failure.
    void lookup(const QString &domain);
    QString replyText() const;

    // Why a typed domain cannot be sent, or an empty text when it can.
    static QString queryProblem(const QString &domain);

private:
    QString m_server;
    quint16 m_port;
    std::shared_ptr<const HostResolver> m_resolver;
    ConnectionLimits m_limits;
    QString m_replyText;
};
