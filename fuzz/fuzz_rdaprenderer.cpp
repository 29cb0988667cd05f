// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Marrowby Industries

#include "query/RdapBootstrap.h"
#include "query/RdapRenderer.h"

#include <cstdlib>

// Any bytes an RDAP server sends give either text or an error, never both
// and never a crash; the same bytes read as a bootstrap file are harmless.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray json(reinterpret_cast<const char *>(data), qsizetype(size));
    const RdapRenderer::Result result = RdapRenderer::render(json);
    if (!result.error.isEmpty() && !result.text.isEmpty())
        std::abort();

    RdapBootstrap bootstrap;
    QString error;
    if (bootstrap.load(json, &error))
        bootstrap.baseFor(QStringLiteral("a.b.example.com"));
    return 0;
}
