// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Marrowby Industries

#include "LoopbackResolver.h"

#include <QMetaObject>

LoopbackResolver &LoopbackResolver::add(const QString &host, quint16 port)
{
    return add(host, QList<quint16>{port});
}

LoopbackResolver &LoopbackResolver::add(const QString &host, const QList<quint16> &ports)
{
    m_ports.insert(host, ports);
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
        endpoint.addresses = {{literal, port}};
    } else if (m_ports.contains(host)) {
        for (const quint16 loopbackPort : m_ports.value(host))
            endpoint.addresses.append({QHostAddress(QHostAddress::LocalHost), loopbackPort});
    } else {
        endpoint.error = QStringLiteral("Host not found");
    }
    QMetaObject::invokeMethod(context, [done, endpoint] { done(endpoint); }, Qt::QueuedConnection);
}
