// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Marrowby Industries

#pragma once

#include "query/ConnectionLimits.h"
#include "query/HostResolver.h"
#include "query/StopRequest.h"

#include <QEventLoop>
#include <QObject>
#include <QTcpSocket>
#include <QTimer>

#include <memory>
#include <vector>

// One WHOIS exchange (RFC 3912): connect, send the query, and read until the
// server closes the connection, which is the only end-of-reply marker the
// protocol has.
class WhoisConnection : public QObject
{
    Q_OBJECT

public:
    struct Reply {
        QByteArray bytes;
        // The server reset the connection after sending these bytes. WHOIS
        // has no length field, so they may or may not be the whole reply.
        bool reset = false;
    };

    WhoisConnection(const HostResolver &resolver, const ConnectionLimits &limits,
                    const StopRequest &stop, QObject *parent = nullptr);
    ~WhoisConnection() override;

    // Returns the reply. The event loop keeps running meanwhile, so
    // windows repaint and the user can stop the lookup. Throws Failure
    // naming the server and what went wrong, LookupStopped when stopped.
    Reply exchange(const QString &host, quint16 port, const QByteArray &query);

private:
    enum class Phase { Idle, Connecting, Reading, Done };

    void onResolved(const HostResolver::Endpoint &endpoint);
    void startNextAttempt();
    void onConnected(QTcpSocket *socket);
    // Ends every connection attempt but kept, and hears no more from them.
    void abortAttemptsBut(const QTcpSocket *kept);
    void onReadyRead();
    void onErrorOccurred(QTcpSocket *socket, QAbstractSocket::SocketError error);
    void onAttemptFailed(QTcpSocket *socket, QAbstractSocket::SocketError error);
    void onTimeout();
    void onExchangeTimeout();
    void onStopRaised();
    void finish();
    void fail(const QString &description);
    bool peerReset() const;
    void closePeek();
    QString serverName() const;
    QString stoppedDescription() const;

    const HostResolver &m_resolver;
    ConnectionLimits m_limits;
    const StopRequest &m_stop;
    QTimer m_timer;
    QTimer m_nextAttemptTimer;
    QTimer m_exchangeTimer;
    QEventLoop m_loop;
    // One socket an address tried; the first to connect becomes m_socket.
    // Declared after the timers, so that the sockets go first.
    std::vector<std::unique_ptr<QTcpSocket>> m_attempts;
    QTcpSocket *m_socket = nullptr;

    QString m_host;
    quint16 m_port = 0;
    QByteArray m_query;
    QList<HostResolver::Address> m_addresses;
    qsizetype m_nextAddress = 0;
    int m_attemptsPending = 0;
    QString m_lastConnectError;
    Phase m_phase = Phase::Idle;
    QByteArray m_reply;
    bool m_reset = false;
    QString m_failure;
    int m_peekFd = -1;
};
