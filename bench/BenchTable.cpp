// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Marrowby Industries

#include "BenchTable.h"

#include <QStringList>

#include <cstdio>

void BenchTable::row(const QString &benchmark, const QString &measured, const QString &floor,
                     const QString &comparison, const QString &target, std::optional<bool> met)
{
    const QString verdict = met ? (*met ? QStringLiteral("yes") : QStringLiteral("NO")) : QStringLiteral("-");
    const QString line = QStringList{QStringLiteral("ROW"), benchmark, measured, floor, comparison, target, verdict}
                             .join(u'\t');
    std::fputs(qPrintable(line + u'\n'), stdout);
    std::fflush(stdout);
}

QString BenchTable::ms(double milliseconds)
{
    return QString::number(milliseconds, 'f', milliseconds < 10 ? 3 : 1) + QLatin1String(" ms");
}

QString BenchTable::mib(double bytes)
{
    return QString::number(bytes / (1024.0 * 1024.0), 'f', 1) + QLatin1String(" MiB");
}

QString BenchTable::ratio(double measured, double floor)
{
    return QLatin1String("x") + QString::number(floor > 0 ? measured / floor : 0, 'f', 2);
}

QString BenchTable::overhead(double measured, double floor)
{
    const double extra = measured - floor;
    return (extra >= 0 ? QLatin1String("+") : QString()) + ms(extra);
}
