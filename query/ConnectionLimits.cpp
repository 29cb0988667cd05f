// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Marrowby Industries

#include "query/ConnectionLimits.h"

#include <QLocale>

QString ConnectionLimits::inSeconds(std::chrono::milliseconds duration)
{
    return QLocale::c().toString(duration.count() / 1000.0);
}

QString ConnectionLimits::maxReplySize() const
{
    return QLocale::c().formattedDataSize(maxReplyBytes, 0);
}
