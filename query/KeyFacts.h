// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Marrowby Industries

#pragma once

#include "query/LookupHop.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QList>
#include <QString>

// The few facts a user looks for first, read from every answer of a
// lookup and set above the replies: registrar, dates, status, name
// servers, DNSSEC and abuse contact of a name; range, name, country,
// registry and abuse contact of an address block or AS number.
class KeyFacts
{
    Q_DECLARE_TR_FUNCTIONS(KeyFacts)

public:
    static constexpr int Width = 80;

    // queried is the name or number as sent (a Unicode name in its ACE
    // form); now counts the days to expiry. The block is plain text, each
    // line within Width and ending with a line break; empty when no answer
    // held a known fact. Referrals and throttled answers give no facts,
    // and only the registry's own words make a name read as not registered.
    static QString summary(const QString &queried, const QList<LookupHop> &hops, const QDateTime &now);
};
