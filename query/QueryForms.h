// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Marrowby Industries

#pragma once

#include <QString>

// How each registry wants a query written, from the registries' own
// documentation (query-forms.txt beside this file, built into the program).
class QueryForms
{
public:
    enum class Kind { Domain, Address, Asn };

    // The query for server, with value (a name, an address or prefix, or
    // an AS number without "AS") put into the registry's own form;
    // plainQuery where the registry has none.
    static QString query(const QString &server, Kind kind, const QString &value, const QString &plainQuery);
};
