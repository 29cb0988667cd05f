// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Marrowby Industries

#pragma once

#include <QByteArray>
#include <QString>

// One server's answer within a lookup, kept so that the key facts shown
// above the replies can be read from each answer in turn.
struct LookupHop {
    enum class Source { Whois, Rdap };
    // What the answer is to the lookup: the record of the registry that
    // holds the name or number, the registrar's record, or only a pointer
    // on to another server (IANA's referral, InterNIC's "No match" for a
    // name it does not hold, a regional registry handing on).
    enum class Role { Registry, Registrar, Referral };

    Source source = Source::Whois;
    Role role = Role::Registry;
    QString server;  // the host asked, or the RDAP URL that served the record
    QString text;    // the decoded WHOIS reply, or the RDAP record as shown
    QByteArray json; // the RDAP record as sent; empty for WHOIS
    bool throttled = false; // the server said it limits queries: no record
};
