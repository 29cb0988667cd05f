// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Marrowby Industries

#include "query/HostResolver.h"

#include <QHostInfo>

HostResolver::~HostResolver() = default;

void HostResolver::resolve(const QString &host, quint16 port, QObject *context, Callback done) const
{
    QHostInfo::lookupHost(host, context, [port, done = std::move(done)](const QHostInfo &info) {
        Endpoint endpoint;
        if (info.error() != QHostInfo::NoError || info.addresses().isEmpty())
            endpoint.error = info.errorString();
        for (const QHostAddress &ip : info.addresses())
            endpoint.addresses.append({ip, port});
        done(endpoint);
    });
}
