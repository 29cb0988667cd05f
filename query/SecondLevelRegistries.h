// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Marrowby Industries

#pragma once

#include <QString>

// Registries that sit below a TLD (second-level-registries.txt beside this
// file, built into the program): neither IANA nor RDAP's bootstrap knows them.
class SecondLevelRegistries
{
public:
    // The WHOIS server for the longest listed suffix of the name, or an
    // empty text.
    static QString serverFor(const QString &aceName);
};
