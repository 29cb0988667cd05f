// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Marrowby Industries

#pragma once

#include <QString>

#include <chrono>

// How long a server may keep us waiting, and how much it may send.
struct ConnectionLimits {
    std::chrono::milliseconds connectTimeout{15000};
    std::chrono::milliseconds idleTimeout{30000};
    qint64 maxReplyBytes = 16 * 1024 * 1024;
    // However steadily a server trickles, one exchange ends here.
    std::chrono::milliseconds exchangeTimeout{60000};

    // The limits as a message to the user states them. The sentences are
    // English, so their numbers are too, whatever the system's locale.
    static QString inSeconds(std::chrono::milliseconds duration);
    QString maxReplySize() const;
};
