// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Marrowby Industries

#include "query/ReferralParser.h"
#include "query/ReplyDecoder.h"

#include <cstdlib>

namespace {
// A host that may be asked is a lower-case name of letters, digits, hyphens
// and dots, never longer than DNS allows.
void checkHost(const QString &host)
{
    if (host.size() > 253)
        std::abort();
    for (const QChar c : host) {
        if (!((c >= u'a' && c <= u'z') || (c >= u'0' && c <= u'9') || c == u'-' || c == u'.'))
            std::abort();
    }
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString reply = ReplyDecoder::decode(QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)));
    checkHost(ReferralParser::registrarServer(reply).host);
    checkHost(ReferralParser::ianaRefer(reply).host);
    checkHost(ReferralParser::followableHost(reply));
    return 0;
}
