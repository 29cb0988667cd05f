// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Marrowby Industries

#pragma once

#include <QByteArray>
#include <QHash>
#include <QHostAddress>
#include <QList>
#include <QString>
#include <QUrl>

// IANA's RDAP bootstrap registries (RFC 9224): which RDAP service answers
// for which DNS labels, address blocks and AS number ranges.
class RdapBootstrap
{
public:
    enum class Registry { Dns, Ipv4, Ipv6, Asn };

    // The file of a registry, in the folder that holds the DNS registry.
    static QString fileName(Registry registry);

    // Returns false, with an error text, when json is not a bootstrap file.
    bool load(const QByteArray &json, QString *error, Registry registry = Registry::Dns);
    bool isLoaded(Registry registry = Registry::Dns) const;

    // The base URL of the service for the longest matching label sequence
    // of the name, an invalid URL when no service is known. Base URLs end
    // with "/", so "domain/NAME" can be appended.
    QUrl baseFor(const QString &aceName) const;
    // The service for the longest block that holds the address, or the
    // whole prefix when prefixLength is not negative.
    QUrl baseForAddress(const QHostAddress &address, int prefixLength = -1) const;
    // The service for the narrowest range that holds the number.
    QUrl baseForAsn(quint32 asn) const;

private:
    struct Block {
        QHostAddress network;
        int length;
        QUrl base;
    };
    struct AsnRange {
        quint32 first;
        quint32 last;
        QUrl base;
    };

    QHash<QString, QUrl> m_services;
    QList<Block> m_blocks;
    QList<AsnRange> m_asns;
    QList<Registry> m_loaded;
};
