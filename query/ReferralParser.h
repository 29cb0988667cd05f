#pragma once

#include <QString>

// Reads the pointers to further WHOIS servers out of a reply, and decides
// whether a pointer may be followed at all.
class ReferralParser
{
public:
    struct Referral {
        QString raw;  // the value as the reply gave it; empty when there is none
        QString host; // the server to ask; empty when the value may not be followed
    };

    // The registrar's server named in the first record of a registry reply,
    // by a "Registrar WHOIS Server:" line or an older "Whois Server:" line.
    static Referral registrarServer(const QString &reply);

    // The TLD registry's server named by IANA's "refer:" line.
    static Referral ianaRefer(const QString &reply);

    // A host name, optionally with a whois:// or rwhois:// scheme, port 43
    // or a trailing "/", gives the bare host. Anything else (another port,
    // an IP literal, a path) gives an empty text: a reply must not be able
    // to send us to arbitrary hosts and ports.
    static QString followableHost(const QString &value);
};
