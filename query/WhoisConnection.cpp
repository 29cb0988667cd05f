#include "query/WhoisConnection.h"

#include "query/LookupStopped.h"
#include "ui/Failure.h"

#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {
constexpr qint64 ReadChunk = 64 * 1024;
} // namespace

WhoisConnection::WhoisConnection(const HostResolver &resolver, const ConnectionLimits &limits,
                                 const StopRequest &stop, QObject *parent)
    : QObject(parent)
    , m_resolver(resolver)
    , m_limits(limits)
    , m_stop(stop)
{
    m_timer.setSingleShot(true);
    // Qt reads no further ahead than this, so a flooding server cannot fill
    // memory faster than the size cap is checked.
    m_socket.setReadBufferSize(ReadChunk);
    connect(&m_socket, &QTcpSocket::connected, this, &WhoisConnection::onConnected);
    connect(&m_socket, &QTcpSocket::readyRead, this, &WhoisConnection::onReadyRead);
    connect(&m_socket, &QTcpSocket::errorOccurred, this, &WhoisConnection::onErrorOccurred);
    connect(&m_timer, &QTimer::timeout, this, &WhoisConnection::onTimeout);
    connect(&m_stop, &StopRequest::raised, this, &WhoisConnection::onStopRaised);
}

WhoisConnection::~WhoisConnection()
{
    closePeek();
}

QByteArray WhoisConnection::exchange(const QString &host, quint16 port, const QByteArray &query)
{
    m_host = host;
    m_port = port;
    m_query = query;
    m_addresses.clear();
    m_nextAddress = 0;
    m_lastConnectError.clear();
    m_reply.clear();
    m_failure.clear();
    if (m_stop.isRaised())
        throw LookupStopped(stoppedDescription());
    m_phase = Phase::Connecting;

    m_timer.start(m_limits.connectTimeout);
    m_resolver.resolve(host, port, this,
                       [this](const HostResolver::Endpoint &endpoint) { onResolved(endpoint); });

    if (m_phase != Phase::Done)
        m_loop.exec();

    m_timer.stop();
    m_socket.abort();
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
    return std::exchange(m_reply, {});
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
    m_connectPort = endpoint.port;
    connectToNextAddress();
}

void WhoisConnection::connectToNextAddress()
{
    m_socket.abort();
    m_socket.connectToHost(m_addresses.at(m_nextAddress++), m_connectPort);
}

void WhoisConnection::onConnected()
{
    // A reset reads as an orderly close through QTcpSocket. A second
    // descriptor on the same socket outlives Qt's, so the kernel's view of
    // how the connection ended can still be asked when it is over.
    m_peekFd = ::dup(int(m_socket.socketDescriptor()));
    m_phase = Phase::Reading;
    m_socket.write(m_query);
    m_timer.start(m_limits.idleTimeout);
}

void WhoisConnection::onReadyRead()
{
    if (m_phase != Phase::Reading)
        return;
    m_timer.start(m_limits.idleTimeout);
    while (m_socket.bytesAvailable() > 0) {
        if (m_reply.size() + m_socket.bytesAvailable() > m_limits.maxReplyBytes) {
            fail(tr("The reply from the WHOIS server %1 is larger than %2; the lookup was stopped.")
                     .arg(serverName(), m_limits.maxReplySize()));
            return;
        }
        m_reply += m_socket.read(ReadChunk);
    }
}

void WhoisConnection::onErrorOccurred(QAbstractSocket::SocketError error)
{
    if (m_phase == Phase::Connecting) {
        m_lastConnectError = error == QAbstractSocket::ConnectionRefusedError
            ? tr("The WHOIS server %1 refused the connection.").arg(serverName())
            : tr("Could not connect to the WHOIS server %1: %2.").arg(serverName(), m_socket.errorString());
        if (m_nextAddress < m_addresses.size())
            connectToNextAddress();
        else
            fail(m_lastConnectError);
        return;
    }
    if (m_phase != Phase::Reading)
        return;
    if (error != QAbstractSocket::RemoteHostClosedError) {
        fail(tr("The connection to the WHOIS server %1 failed: %2.").arg(serverName(), m_socket.errorString()));
        return;
    }
    onReadyRead();
    if (m_phase != Phase::Reading)
        return;
    if (peerReset())
        fail(tr("The WHOIS server %1 reset the connection before its reply was complete.").arg(serverName()));
    else
        finish();
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
