// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Marrowby Industries

#include "query/KnownRdapServices.h"

#include "query/SuffixTable.h"

QUrl KnownRdapServices::baseFor(const QString &aceName)
{
    static const SuffixTable services(QStringLiteral(":/query/rdap-services.txt"));
    return services.urlBelow(aceName);
}
