// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Marrowby Industries

#include "query/SecondLevelRegistries.h"

#include "query/SuffixTable.h"

QString SecondLevelRegistries::serverFor(const QString &aceName)
{
    static const SuffixTable servers(QStringLiteral(":/query/second-level-registries.txt"));
    return servers.valueBelow(aceName).toLower();
}
