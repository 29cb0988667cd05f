#include "query/HostResolver.h"

#include <QHostInfo>

HostResolver::~HostResolver() = default;

void HostResolver::resolve(const QString &host, quint16 port, QObject *context, Callback done) const
{
    QHostInfo::lookupHost(host, context, [port, done = std::move(done)](const QHostInfo &info) {
        Endpoint endpoint;
        endpoint.port = port;
        if (info.error() != QHostInfo::NoError || info.addresses().isEmpty())
            endpoint.error = info.errorString();
        else
            endpoint.addresses = info.addresses();
        done(endpoint);
    });
}
