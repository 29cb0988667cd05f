// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Marrowby Industries

#pragma once

#include "query/LookupHop.h"
#include "query/NumberResource.h"
#include "query/ReferralParser.h"

#include <QCoreApplication>
#include <QString>

// Which server a lookup asks next, decided from what is looked up and what
// the last server answered alone. The lookup chain does the asking and
// keeps the limits; nothing here touches the network.
class Route
{
    Q_DECLARE_TR_FUNCTIONS(Route)

public:
    // What a lookup is for, read from the text as typed.
    struct Target {
        enum class Kind { Name, Number, Search };
        Kind kind = Kind::Search;
        // The name as it goes on the wire (its ACE form, without the final
        // dot); an address or AS number trimmed; a search as typed.
        QString name;
        NumberResource number;
    };

    // Throws Failure when a Unicode name has no ACE form.
    static Target target(const QString &typed);

    // The place of a WHOIS server in the lookup.
    enum class Server { First, Iana, Registry, Registrar };
    enum class Outcome { Answered, Throttled, Failed, NotAsked };
    struct Hop {
        Server server = Server::First;
        QString host;
        Outcome outcome = Outcome::Answered;
        QString reply; // what the server sent, when it answered (shared, not copied)
    };

    enum class Action { Stop, AskWhois, AskRdap };
    struct Step {
        Action action = Action::Stop;
        // For AskWhois: the server's place and the server as it was named.
        Server server = Server::Registry;
        ReferralParser::Referral referral;
    };

    static Step next(const Target &target, const Hop &last);

    // What an answer is to the lookup: the record, or only a pointer on.
    static LookupHop::Role role(const Target &target, const Hop &hop);
};
