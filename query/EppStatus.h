// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Marrowby Industries

#pragma once

#include <QCoreApplication>
#include <QString>
#include <QStringView>

// The status codes of a domain registration (EPP, RFC 5731 and the grace
// periods of RFC 3915), the words RDAP uses for them (RFC 8056), and what
// each means for the holder in a few plain words.
class EppStatus
{
    Q_DECLARE_TR_FUNCTIONS(EppStatus)

public:
    // The code as EPP writes it, from a WHOIS value such as
    // "clientTransferProhibited https://icann.org/epp#..."; empty when the
    // value starts with no EPP code.
    static QString fromEpp(QStringView value);
    // The EPP code for an RDAP status value such as "client transfer
    // prohibited"; empty for RDAP values that map to none.
    static QString fromRdap(QStringView value);
    static QString meaning(const QString &code);
};
