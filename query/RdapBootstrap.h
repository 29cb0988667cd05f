#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QUrl>

// IANA's RDAP bootstrap registry for domain names (RFC 9224): which RDAP
// service answers for which DNS labels.
class RdapBootstrap
{
public:
    // Returns false, with an error text, when json is not a bootstrap file.
    bool load(const QByteArray &json, QString *error);
    bool isLoaded() const;

    // The base URL of the service for the longest matching label sequence
    // of the name, an invalid URL when no service is known. Base URLs end
    // with "/", so "domain/NAME" can be appended.
    QUrl baseFor(const QString &aceName) const;

private:
    QHash<QString, QUrl> m_services;
    bool m_loaded = false;
};
