// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Marrowby Industries

#pragma once

#include <QString>
#include <QUrl>

// TLDs whose registry runs neither a WHOIS server nor an RDAP service, but
// lets names be looked up on a web page of its own (web-only-registries.txt
// beside this file, built into the program, each entry with its source).
class WebOnlyRegistries
{
public:
    // The registry's lookup page for the name's TLD; an invalid URL when
    // none is listed.
    static QUrl pageFor(const QString &aceName);
};
