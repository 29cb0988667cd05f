// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Marrowby Industries

#include "query/ReplyDecoder.h"

#include <algorithm>
#include <cstdlib>

// Whatever a server sends, the text shown has one line break form, holds
// nothing that is shown as U+FFFD, is no longer than the bytes were, and
// the decoder does not read or write out of bounds.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const QString text = ReplyDecoder::decode(bytes);
    if (text.contains(u'\r') || text.size() > bytes.size()
        || std::any_of(text.utf16(), text.utf16() + text.size(), ReplyDecoder::isShownAsReplacement))
        std::abort();
    return 0;
}
