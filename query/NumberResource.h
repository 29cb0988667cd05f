// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Marrowby Industries

#pragma once

#include <QHostAddress>
#include <QString>

// An IP address, a CIDR prefix or an AS number ("AS64496", "ASN 64496"),
// as people paste them from a log or a route.
class NumberResource
{
public:
    enum class Kind { None, Address, Asn };

    // Kind::None when text is neither.
    static NumberResource parse(const QString &text);

    Kind kind() const;
    // What IANA and the regional registries are asked: the address or
    // prefix as typed, or the AS number with its "AS".
    QString whoisQuery() const;
    // The AS number alone, or the address or prefix, for a registry's own query form.
    QString value() const;
    // The RDAP path below a service's base URL (RFC 9082): "ip/..." or "autnum/N".
    QString rdapPath() const;

    QHostAddress address() const;
    int prefixLength() const; // -1 for a single address
    quint32 asn() const;

private:
    Kind m_kind = Kind::None;
    QString m_text;
    QHostAddress m_address;
    int m_prefixLength = -1;
    quint32 m_asn = 0;
};
