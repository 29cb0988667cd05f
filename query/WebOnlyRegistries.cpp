// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Marrowby Industries

#include "query/WebOnlyRegistries.h"

#include "query/SuffixTable.h"

QUrl WebOnlyRegistries::pageFor(const QString &aceName)
{
    static const SuffixTable pages(QStringLiteral(":/query/web-only-registries.txt"));
    return pages.urlBelow(aceName);
}
