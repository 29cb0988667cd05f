// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Marrowby Industries

#pragma once

#include <QDate>
#include <QString>
#include <QStringList>

#include <optional>

// The facts one server's answer gave about a name, an address block or an
// AS number; what the answer did not say stays empty.
struct RecordFacts {
    // Real delegations have a handful of name servers; a reply that lists
    // hundreds gets no block of hundreds of lines.
    static constexpr int MaxNameServers = 16;
    // No fact a registry writes is longer than a domain name or a mail
    // address (RFC 1035, RFC 5321); a longer value is no fact but a line of
    // something else, and is left out rather than cut.
    static constexpr qsizetype MaxValueLength = 255;

    QString domain;      // as the server writes it
    QString unicodeName; // where the server gives one
    QString registrar;
    QString ianaId;
    QDate created;
    QDate updated;
    QDate expires;          // the registry's date, or the only one given
    QDate registrarExpires; // where the answer names the registrar's own
    QStringList statuses;   // EPP codes
    QStringList nameServers; // lower case, without a root dot
    bool moreNameServers = false; // the answer named more than are kept
    std::optional<bool> dnssecSigned;
    QString abuseEmail;
    QString abusePhone;

    // Address blocks and AS numbers.
    QString range; // "192.0.2.0 - 192.0.2.255", "2001:db8::/32", "AS64496"
    QString cidr;
    QString name;
    QString country;

    // Lower case and without the root dot, once each, as many as are kept.
    void addNameServer(QString host)
    {
        host = host.toLower();
        if (host.endsWith(u'.'))
            host.chop(1);
        if (host.isEmpty() || nameServers.contains(host))
            return;
        if (nameServers.size() < MaxNameServers)
            nameServers << host;
        else
            moreNameServers = true;
    }

    bool hasDomainFacts() const
    {
        return !domain.isEmpty() || !registrar.isEmpty() || created.isValid() || updated.isValid()
            || expires.isValid() || registrarExpires.isValid() || !statuses.isEmpty() || !nameServers.isEmpty()
            || dnssecSigned.has_value() || !abuseEmail.isEmpty() || !abusePhone.isEmpty();
    }
    bool hasNumberFacts() const
    {
        return !range.isEmpty() || !cidr.isEmpty() || !name.isEmpty() || !country.isEmpty()
            || !abuseEmail.isEmpty() || !abusePhone.isEmpty();
    }
};
