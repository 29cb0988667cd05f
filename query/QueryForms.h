// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Marrowby Industries

#pragma once

#include "query/NumberResource.h"

#include <QString>

// How each registry wants a query written, from the registries' own
// documentation (query-forms.txt beside this file, built into the program).
class QueryForms
{
public:
    // The query for server, with value (a name, an address or prefix, or
    // an AS number without "AS") put into the registry's own form;
    // plainQuery where the registry has none. kind is None for a name.
    static QString query(const QString &server, NumberResource::Kind kind, const QString &value,
                         const QString &plainQuery);
};
