// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Marrowby Industries

#pragma once

#include <QString>
#include <QUrl>

// Reads the pointers to further WHOIS servers out of a reply, and decides
// whether a pointer may be followed at all.
class ReferralParser
{
public:
    struct Referral {
        QString raw;  // the value as the reply gave it; empty when there is none
        QString host; // the server to ask; empty when the value may not be followed
    };

    // The registrar's server named anywhere in a registry reply, by a
    // "Registrar WHOIS Server:" line or an older "Whois Server:" line; the
    // first such line counts.
    static Referral registrarServer(const QString &reply);

    // The TLD registry's or regional registry's server named by IANA's "refer:" line.
    static Referral ianaRefer(const QString &reply);

    // The WHOIS server IANA's TLD record names ("whois:"); empty for a TLD
    // that offers only RDAP.
    static Referral ianaWhois(const QString &reply);

    // The object IANA's reply is about ("domain:"), such as "EXAMPLE" for a
    // TLD or a whole name for the names IANA holds itself.
    static QString ianaDomain(const QString &reply);

    // A regional registry's pointer to another registry ("ReferralServer:").
    static Referral registryReferral(const QString &reply);

    // A host name, optionally with a whois:// or rwhois:// scheme, port 43
    // or a trailing "/", gives the bare host. Anything else (another port,
    // an address in any form the resolver reads, a name without a dot, a
    // path) gives an empty text: a reply must not be able to send us to
    // arbitrary hosts and ports.
    static QString followableHost(const QString &value);

    // RDAP links follow the same host rule, over https on its own port only.
    static bool isFollowableRdapUrl(const QUrl &url);
};
