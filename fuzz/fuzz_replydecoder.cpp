// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Marrowby Industries

#include "query/ReplyDecoder.h"

#include <cstdlib>

// Whatever a server sends, the text shown has one line break form and
// the decoder does not read or write out of bounds.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const QByteArray normalised = ReplyDecoder::normaliseLineBreaks(bytes);
    if (normalised.contains('\r') || normalised.size() > bytes.size())
        std::abort();
    const QString text = ReplyDecoder::decode(bytes);
    if (text.contains(u'\r') || text.size() > normalised.size())
        std::abort();
    return 0;
}
