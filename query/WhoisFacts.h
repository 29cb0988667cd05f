// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Marrowby Industries

#pragma once

#include "query/RecordFacts.h"

#include <QStringView>

// Reads the facts out of a WHOIS reply by the labels registries write
// (query/fact-labels.txt): the gTLD format, the country registries' own
// and the regional Internet registries'. Only the head of a reply is read,
// where every known format puts its record; a label the table does not
// hold, or a date in doubt, gives nothing.
class WhoisFacts
{
public:
    // How much of a reply is read, in characters: many times a real
    // record with its legal notice.
    static constexpr qsizetype HeadSize = 128 * 1024;

    static RecordFacts read(QStringView reply);

    // Whether the reply says, in a registry's own words, that the name is
    // not registered.
    static bool saysNotRegistered(QStringView reply);
};
