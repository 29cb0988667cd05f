// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Marrowby Industries

#pragma once

#include "query/HostResolver.h"

#include <QHash>

// Puts named servers on loopback ports; loopback addresses stand for
// themselves and every other name fails to resolve, so no test ever asks
// the real DNS.
class LoopbackResolver : public HostResolver
{
public:
    LoopbackResolver &add(const QString &host, quint16 port);
    // A name with several addresses, given as ports and tried in this order.
    LoopbackResolver &add(const QString &host, const QList<quint16> &ports);
    LoopbackResolver &remove(const QString &host);
    // Names then never resolve, nor fail: the answer simply never comes.
    LoopbackResolver &hang();

    void resolve(const QString &host, quint16 port, QObject *context, Callback done) const override;

private:
    QHash<QString, QList<quint16>> m_ports;
    bool m_hangs = false;
};
