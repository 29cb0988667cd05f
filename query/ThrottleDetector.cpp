// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Marrowby Industries

#include "query/ThrottleDetector.h"

#include <QLocale>
#include <QRegularExpression>
#include <QTimeZone>

namespace {
// Registries' throttling texts are a line or two; a record that merely
// mentions its query limit in its terms of use is far longer.
constexpr qsizetype MaxThrottleChars = 600;
constexpr qsizetype MaxThrottleLines = 6;

bool isShort(QStringView reply)
{
    if (reply.size() > MaxThrottleChars)
        return false;
    qsizetype lines = 0;
    for (QStringView line : reply.split(u'\n'))
        lines += line.trimmed().isEmpty() ? 0 : 1;
    return lines <= MaxThrottleLines;
}

std::optional<std::chrono::seconds> delayIn(QStringView reply)
{
    static const QRegularExpression delay(
        QStringLiteral("\\b(?:in|for|after)\\s+(\\d{1,6})\\s*(sec|second|min|minute|hour)s?\\b"),
        QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = delay.match(reply);
    if (!match.hasMatch())
        return std::nullopt;
    const qint64 count = match.capturedView(1).toLongLong();
    const QStringView unit = match.capturedView(2);
    if (unit.startsWith(u'h', Qt::CaseInsensitive))
        return std::chrono::hours(count);
    if (unit.startsWith(u'm', Qt::CaseInsensitive))
        return std::chrono::minutes(count);
    return std::chrono::seconds(count);
}
} // namespace

ThrottleDetector::Throttle ThrottleDetector::whois(QStringView reply)
{
    static const QRegularExpression says(
        QStringLiteral("limit(?:ed)?\\s+(?:has\\s+been\\s+|was\\s+|is\\s+)?(?:reached|exceeded)"
                       "|exceeded\\s+(?:your|the)\\s+(?:\\w+\\s+)?(?:quota|limit)"
                       "|quota\\b.{0,80}\\b(?:exceeded|reached)"
                       "|too\\s+many\\s+(?:connections|queries|requests|lookups)"
                       "|go\\s+away\\s+for"
                       "|\\d+\\s+(?:requests?|quer(?:y|ies)|lookups?)\\s+(?:a|per)\\s+(?:second|minute|hour|day)"
                       "|rate\\s+limit"
                       "|slow\\s+down"),
        QRegularExpression::CaseInsensitiveOption);
    Throttle throttle;
    if (!isShort(reply) || !says.match(reply).hasMatch())
        return throttle;
    throttle.throttled = true;
    throttle.retryAfter = delayIn(reply);
    return throttle;
}

ThrottleDetector::Throttle ThrottleDetector::http(int status, const QByteArray &retryAfter, const QDateTime &now)
{
    Throttle throttle;
    if (status != 429 && status != 403)
        return throttle;
    throttle.throttled = true;
    const QByteArray value = retryAfter.trimmed();
    bool isNumber = false;
    const qint64 seconds = value.toLongLong(&isNumber);
    if (isNumber && seconds >= 0) {
        throttle.retryAfter = std::chrono::seconds(seconds);
        return throttle;
    }
    // The HTTP date's preferred form, always in English and in GMT.
    QDateTime at = QLocale::c().toDateTime(QString::fromLatin1(value), QStringLiteral("ddd, dd MMM yyyy HH:mm:ss 'GMT'"));
    if (!at.isValid())
        return throttle;
    at.setTimeZone(QTimeZone::utc());
    const qint64 left = now.secsTo(at);
    if (left > 0)
        throttle.retryAfter = std::chrono::seconds(left);
    return throttle;
}
