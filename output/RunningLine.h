// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Marrowby Industries

#pragma once

#include <QString>

// A line repeated on every page, written as "left|centre|right". In the
// product line "%d" stands for the page number; the line with the print
// file's path is printed as it stands, since a folder may well be named
// "100%done".
class RunningLine
{
public:
    struct Zones {
        QString left;
        QString centre;
        QString right;

        friend bool operator==(const Zones &, const Zones &) = default;
    };

    // Splits at the first two "|" only, so a right zone such as a file path
    // keeps any "|" of its own; a line with fewer bars leaves the later
    // zones empty.
    static Zones split(const QString &line);
    // As split(), with every "%d" replaced by the page number.
    static Zones format(const QString &line, int page);
};
