// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Marrowby Industries

#pragma once

#include <QString>
#include <QUrl>

// RDAP services that IANA's bootstrap file does not list, though their
// registries run them (rdap-services.txt beside this file, built into the
// program, each entry with where it was checked).
class KnownRdapServices
{
public:
    // The base URL, ending in "/", for the longest listed suffix of the
    // name; an invalid URL when none is listed.
    static QUrl baseFor(const QString &aceName);
};
