#include "LoopbackResolver.h"

#include <QMetaObject>

LoopbackResolver &LoopbackResolver::add(const QString &host, quint16 port)
{
    m_ports.insert(host, port);
    return *this;
}

LoopbackResolver &LoopbackResolver::remove(const QString &host)
{
    m_ports.remove(host);
    return *this;
}

LoopbackResolver &LoopbackResolver::hang()
{
    m_hangs = true;
    return *this;
}

void LoopbackResolver::resolve(const QString &host, quint16 port, QObject *context, Callback done) const
{
    if (m_hangs)
        return;
    Endpoint endpoint;
    const QHostAddress literal(host);
    if (literal.isLoopback()) {
        endpoint.addresses = {literal};
        endpoint.port = port;
    } else if (m_ports.contains(host)) {
        endpoint.addresses = {QHostAddress(QHostAddress::LocalHost)};
        endpoint.port = m_ports.value(host);
    } else {
        endpoint.error = QStringLiteral("Host not found");
    }
    QMetaObject::invokeMethod(context, [done, endpoint] { done(endpoint); }, Qt::QueuedConnection);
}
