#pragma once

#include "query/ConnectionLimits.h"
#include "query/HostResolver.h"
#include "query/StopRequest.h"

#include <QEventLoop>
#include <QObject>
#include <QTcpSocket>
#include <QTimer>

// One WHOIS exchange (RFC 3912): connect, send the query, and read until the
// server closes the connection, which is the only end-of-reply marker the
// protocol has.
class WhoisConnection : public QObject
{
    Q_OBJECT

public:
    WhoisConnection(const HostResolver &resolver, const ConnectionLimits &limits,
                    const StopRequest &stop, QObject *parent = nullptr);
    ~WhoisConnection() override;

    // Returns the whole reply. The event loop keeps running meanwhile, so
    // windows repaint and the user can stop the lookup. Throws Failure
    // naming the server and what went wrong, LookupStopped when stopped.
    QByteArray exchange(const QString &host, quint16 port, const QByteArray &query);

private:
    enum class Phase { Idle, Connecting, Reading, Done };

    void onResolved(const HostResolver::Endpoint &endpoint);
    void connectToNextAddress();
    void onConnected();
    void onReadyRead();
    void onErrorOccurred(QAbstractSocket::SocketError error);
    void onTimeout();
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
    QTcpSocket m_socket;
    QTimer m_timer;
    QEventLoop m_loop;

    QString m_host;
    quint16 m_port = 0;
    quint16 m_connectPort = 0;
    QByteArray m_query;
    QList<QHostAddress> m_addresses;
    qsizetype m_nextAddress = 0;
    QString m_lastConnectError;
    Phase m_phase = Phase::Idle;
    QByteArray m_reply;
    QString m_failure;
    int m_peekFd = -1;
};
