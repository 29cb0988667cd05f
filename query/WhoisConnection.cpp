// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Marrowby Industries

#include "query/WhoisConnection.h"

#include "query/LookupStopped.h"
#include "common/Failure.h"

#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>

#include <utility>

namespace {
constexpr qint64 ReadChunk = 64 * 1024;
// RFC 8305's connection attempt delay.
constexpr std::chrono::milliseconds NextAttemptDelay{250};
} // namespace

WhoisConnection::WhoisConnection(const HostResolver &resolver, const ConnectionLimits &limits,
                                 const StopRequest &stop, QObject *parent)
    : QObject(parent)
    , m_resolver(resolver)
    , m_limits(limits)
    , m_stop(stop)
{
    m_timer.setSingleShot(true);
    m_nextAttemptTimer.setSingleShot(true);
    m_exchangeTimer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, &WhoisConnection::onTimeout);
    connect(&m_nextAttemptTimer, &QTimer::timeout, this, &WhoisConnection::startNextAttempt);
    connect(&m_exchangeTimer, &QTimer::timeout, this, &WhoisConnection::onExchangeTimeout);
    connect(&m_stop, &StopRequest::raised, this, &WhoisConnection::onStopRaised);
}

WhoisConnection::~WhoisConnection()
{
    closePeek();
}

WhoisConnection::Reply WhoisConnection::exchange(const QString &host, quint16 port, const QByteArray &query)
{
    m_host = host;
    m_port = port;
    m_query = query;
    m_addresses.clear();
    m_nextAddress = 0;
    m_attemptsPending = 0;
    m_lastConnectError.clear();
    m_reply.clear();
    m_reset = false;
    m_failure.clear();
    if (m_stop.isRaised())
        throw LookupStopped(stoppedDescription());
    m_phase = Phase::Connecting;

    m_timer.start(m_limits.connectTimeout);
    m_exchangeTimer.start(m_limits.exchangeTimeout);
    m_resolver.resolve(host, port, this,
                       [this](const HostResolver::Endpoint &endpoint) { onResolved(endpoint); });

    if (m_phase != Phase::Done)
        m_loop.exec();

    m_timer.stop();
    m_nextAttemptTimer.stop();
    m_exchangeTimer.stop();
    abortAttemptsBut(nullptr);
    m_attempts.clear();
    m_socket = nullptr;
    closePeek();

    if (m_phase != Phase::Done) {
        // The loop was ended from outside: the application is quitting.
        m_phase = Phase::Done;
        throw LookupStopped(tr("The lookup at %1 was stopped because the program is closing.")
                                    .arg(serverName()));
    }
    if (m_stop.isRaised())
        throw LookupStopped(stoppedDescription());
    if (!m_failure.isEmpty())
        throw Failure(m_failure);
    return {std::exchange(m_reply, {}), m_reset};
}

void WhoisConnection::onResolved(const HostResolver::Endpoint &endpoint)
{
    if (m_phase != Phase::Connecting)
        return;
    if (!endpoint.error.isEmpty() || endpoint.addresses.isEmpty()) {
        fail(tr("The WHOIS server %1 could not be found: its name did not resolve (%2).")
                 .arg(serverName(), endpoint.error));
        return;
    }
    m_addresses = endpoint.addresses;
    startNextAttempt();
}

void WhoisConnection::startNextAttempt()
{
    if (m_phase != Phase::Connecting || m_nextAddress >= m_addresses.size())
        return;
    const HostResolver::Address &address = m_addresses.at(m_nextAddress++);
    QTcpSocket *socket = m_attempts.emplace_back(std::make_unique<QTcpSocket>()).get();
    ++m_attemptsPending;
    // Qt reads no further ahead than this, so a flooding server cannot fill
    // memory faster than the size cap is checked.
    socket->setReadBufferSize(ReadChunk);
    connect(socket, &QTcpSocket::connected, this, [this, socket] { onConnected(socket); });
    connect(socket, &QTcpSocket::readyRead, this, &WhoisConnection::onReadyRead);
    connect(socket, &QTcpSocket::errorOccurred, this,
            [this, socket](QAbstractSocket::SocketError error) { onErrorOccurred(socket, error); });
    // An address that silently drops the attempt would otherwise hold the
    // others back for the whole connect time-out (RFC 8305): the next one
    // starts after a short delay while this one goes on trying.
    if (m_nextAddress < m_addresses.size())
        m_nextAttemptTimer.start(NextAttemptDelay);
    socket->connectToHost(address.ip, address.port);
}

void WhoisConnection::onConnected(QTcpSocket *socket)
{
    if (m_phase != Phase::Connecting)
        return;
    m_nextAttemptTimer.stop();
    abortAttemptsBut(socket);
    m_socket = socket;
    // A reset reads as an orderly close through QTcpSocket. A second
    // descriptor on the same socket outlives Qt's, so the kernel's view of
    // how the connection ended can still be asked when it is over.
    m_peekFd = ::fcntl(int(socket->socketDescriptor()), F_DUPFD_CLOEXEC, 0);
    m_phase = Phase::Reading;
    socket->write(m_query);
    m_timer.start(m_limits.idleTimeout);
}

void WhoisConnection::abortAttemptsBut(const QTcpSocket *kept)
{
    for (const auto &attempt : m_attempts) {
        if (attempt.get() != kept) {
            attempt->disconnect(this);
            attempt->abort();
        }
    }
}

void WhoisConnection::onReadyRead()
{
    if (m_phase != Phase::Reading)
        return;
    m_timer.start(m_limits.idleTimeout);
    while (m_socket->bytesAvailable() > 0) {
        if (m_reply.size() + m_socket->bytesAvailable() > m_limits.maxReplyBytes) {
            fail(tr("The reply from the WHOIS server %1 is larger than %2; the lookup was stopped.")
                     .arg(serverName(), m_limits.maxReplySize()));
            return;
        }
        m_reply += m_socket->read(ReadChunk);
    }
}

void WhoisConnection::onErrorOccurred(QTcpSocket *socket, QAbstractSocket::SocketError error)
{
    if (m_phase == Phase::Connecting) {
        onAttemptFailed(socket, error);
        return;
    }
    if (m_phase != Phase::Reading)
        return;
    if (error != QAbstractSocket::RemoteHostClosedError) {
        fail(tr("The connection to the WHOIS server %1 failed: %2.").arg(serverName(), socket->errorString()));
        return;
    }
    onReadyRead();
    if (m_phase != Phase::Reading)
        return;
    if (peerReset()) {
        if (m_reply.isEmpty()) {
            fail(tr("The WHOIS server %1 reset the connection without sending a reply.").arg(serverName()));
            return;
        }
        m_reset = true;
    }
    finish();
}

void WhoisConnection::onAttemptFailed(QTcpSocket *socket, QAbstractSocket::SocketError error)
{
    // Counted once: whatever else this socket reports is no news.
    socket->disconnect(this);
    --m_attemptsPending;
    m_lastConnectError = error == QAbstractSocket::ConnectionRefusedError
        ? tr("The WHOIS server %1 refused the connection.").arg(serverName())
        : tr("Could not connect to the WHOIS server %1: %2.").arg(serverName(), socket->errorString());
    // The next address starts at once, but from the event loop, as Qt asks
    // of anything that connects again after this signal.
    if (m_nextAddress < m_addresses.size())
        m_nextAttemptTimer.start(0);
    else if (m_attemptsPending == 0)
        fail(m_lastConnectError);
}

void WhoisConnection::onTimeout()
{
    if (m_phase == Phase::Connecting)
        fail(tr("The WHOIS server %1 did not accept a connection within %2 seconds.")
                 .arg(serverName(), ConnectionLimits::inSeconds(m_limits.connectTimeout)));
    else if (m_phase == Phase::Reading)
        fail(tr("The WHOIS server %1 sent nothing for %2 seconds; the lookup was stopped.")
                 .arg(serverName(), ConnectionLimits::inSeconds(m_limits.idleTimeout)));
}

void WhoisConnection::onExchangeTimeout()
{
    if (m_phase == Phase::Connecting || m_phase == Phase::Reading)
        fail(tr("The WHOIS server %1 did not finish its reply within %2 seconds; the lookup was stopped.")
                 .arg(serverName(), ConnectionLimits::inSeconds(m_limits.exchangeTimeout)));
}

void WhoisConnection::onStopRaised()
{
    if (m_phase != Phase::Connecting && m_phase != Phase::Reading)
        return;
    m_reply.clear();
    finish();
}

QString WhoisConnection::stoppedDescription() const
{
    return tr("The lookup was stopped while waiting for the WHOIS server %1.").arg(serverName());
}

void WhoisConnection::finish()
{
    m_phase = Phase::Done;
    m_loop.quit();
}

void WhoisConnection::fail(const QString &description)
{
    m_failure = description;
    m_reply.clear();
    finish();
}

bool WhoisConnection::peerReset() const
{
    if (m_peekFd < 0)
        return false;
    tcp_info info{};
    socklen_t length = sizeof info;
    if (::getsockopt(m_peekFd, IPPROTO_TCP, TCP_INFO, &info, &length) != 0)
        return false;
    // After the peer's FIN the socket waits in CLOSE_WAIT for our close;
    // a reset takes it straight to CLOSE.
    return info.tcpi_state == TCP_CLOSE;
}

void WhoisConnection::closePeek()
{
    if (m_peekFd >= 0)
        ::close(m_peekFd);
    m_peekFd = -1;
}

QString WhoisConnection::serverName() const
{
    return m_port == 43 ? m_host : QStringLiteral("%1:%2").arg(m_host).arg(m_port);
}
