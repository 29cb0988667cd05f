// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Marrowby Industries

#pragma once

#include <QByteArray>
#include <QString>

// Turns an RDAP record (RFC 9083 JSON: a domain, an IP network or an
// autnum, with RFC 9537 redactions) into readable text lines.
// Fields it does not know, or that have the wrong type, are skipped.
class RdapRenderer
{
public:
    struct Result {
        QString text;
        QString relatedHref; // the registrar's own RDAP record, where linked
        QString error;       // set when the bytes are not an RDAP object
    };

    static Result render(const QByteArray &json);
};
