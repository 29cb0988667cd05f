// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Marrowby Industries

#pragma once

#include <QCoreApplication>
#include <QHostAddress>
#include <QString>

// An IP address, a CIDR prefix or an AS number ("AS64496", "ASN 64496",
// "AS1.2"), as people paste them from a log or a route. Every server of a
// lookup is sent the same normal form, so that WHOIS and RDAP answer for
// the same thing.
class NumberResource
{
    Q_DECLARE_TR_FUNCTIONS(NumberResource)

public:
    enum class Kind { None, Address, Asn };

    // Kind::None when text is neither. Throws Failure for text written as
    // an address or AS number that no registry would read as meant: an IPv4
    // address other than four decimal numbers (hex, octal or short forms
    // mean different things to different servers), a zone index, or a
    // number out of range.
    static NumberResource parse(const QString &text);

    Kind kind() const;
    // What IANA and the regional registries are asked: the address or
    // prefix in its normal form, or the AS number with its "AS".
    QString whoisQuery() const;
    // The AS number alone, or the address or prefix, for a registry's own query form.
    QString value() const;
    // The RDAP path below a service's base URL (RFC 9082): "ip/..." or "autnum/N".
    QString rdapPath() const;

    // The prefix as typed had bits set below its length; the lookup asks
    // for its network instead.
    bool hadHostBits() const;
    // The text as it was given to parse.
    QString typed() const;

    QHostAddress address() const;
    int prefixLength() const; // -1 for a single address
    quint32 asn() const;

private:
    static NumberResource parseAsn(const QString &text);
    static NumberResource parseAddress(const QString &text);

    Kind m_kind = Kind::None;
    QString m_typed;
    QHostAddress m_address;
    int m_prefixLength = -1;
    quint32 m_asn = 0;
    bool m_hadHostBits = false;
};
