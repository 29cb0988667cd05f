// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Marrowby Industries

#pragma once

#include <QString>

#include <optional>

// Writes the rows that scripts/bench gathers from every benchmark program
// into one table: one tab-separated line per row, marked "ROW", on stdout.
class BenchTable
{
public:
    static void row(const QString &benchmark, const QString &measured, const QString &floor,
                    const QString &comparison, const QString &target, std::optional<bool> met);

    static QString ms(double milliseconds);
    static QString mib(double bytes);
    static QString ratio(double measured, double floor);
    static QString overhead(double measured, double floor);
};
