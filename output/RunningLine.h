#pragma once

#include <QString>

// A line repeated on every page, written as "left|centre|right", with "%d"
// standing for the page number.
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
    static Zones format(const QString &line, int page);
};
