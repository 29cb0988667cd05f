// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Marrowby Industries

#pragma once

#include "query/RecordFacts.h"

#include <QByteArray>

// Reads the facts out of an RDAP record (RFC 9083): a domain's events,
// status, name servers, DNSSEC and registrar with its abuse contact; an IP
// network's or autnum's range, name, country and abuse contact. Anything
// missing or of the wrong type gives nothing.
class RdapFacts
{
public:
    static RecordFacts read(const QByteArray &json);
};
