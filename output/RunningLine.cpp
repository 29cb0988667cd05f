// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Marrowby Industries

#include "output/RunningLine.h"

RunningLine::Zones RunningLine::split(const QString &line)
{
    const qsizetype first = line.indexOf(QLatin1Char('|'));
    if (first < 0)
        return {line, {}, {}};
    const qsizetype second = line.indexOf(QLatin1Char('|'), first + 1);
    if (second < 0)
        return {line.left(first), line.mid(first + 1), {}};
    return {line.left(first), line.mid(first + 1, second - first - 1), line.mid(second + 1)};
}

RunningLine::Zones RunningLine::format(const QString &line, int page)
{
    Zones zones = split(line);
    const QString number = QString::number(page);
    for (QString *zone : {&zones.left, &zones.centre, &zones.right})
        zone->replace(QLatin1String("%d"), number);
    return zones;
}
