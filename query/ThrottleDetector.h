// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Marrowby Industries

#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QStringView>

#include <chrono>
#include <optional>

// Tells a server's "you ask too often" from a record: a short WHOIS reply
// that says so, or an RDAP answer of HTTP 429 or 403. Such an answer is no
// record, so nothing in it may be followed or read as "no match".
class ThrottleDetector
{
public:
    struct Throttle {
        bool throttled = false;
        // When the server says it may be asked again, where it says.
        std::optional<std::chrono::seconds> retryAfter;
    };

    static Throttle whois(QStringView reply);
    // retryAfter is the Retry-After header's value (RFC 9110: seconds or an
    // HTTP date, read against now).
    static Throttle http(int status, const QByteArray &retryAfter, const QDateTime &now);
};
