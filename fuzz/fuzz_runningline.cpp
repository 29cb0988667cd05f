// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Marrowby Industries

#include "output/RunningLine.h"

#include <cstdlib>
#include <cstring>

namespace {
QString withoutFirstBars(QString line, int bars)
{
    for (int i = 0; i < bars; ++i) {
        const qsizetype at = line.indexOf(u'|');
        if (at < 0)
            break;
        line.remove(at, 1);
    }
    return line;
}
} // namespace

// The first four bytes pick the page number, the rest is the line. Only the
// right zone may keep a bar of its own, and a line without "%d" comes back
// whole, split at its first two bars.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    int page = 0;
    if (size >= sizeof page) {
        std::memcpy(&page, data, sizeof page);
        data += sizeof page;
        size -= sizeof page;
    }
    const QString line = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    const RunningLine::Zones zones = RunningLine::format(line, page);
    if (zones.left.contains(u'|') || zones.centre.contains(u'|'))
        std::abort();
    if (!line.contains(QLatin1String("%d")) && zones.left + zones.centre + zones.right != withoutFirstBars(line, 2))
        std::abort();
    return 0;
}
