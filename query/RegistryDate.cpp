// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Marrowby Industries

#include "query/RegistryDate.h"

#include <QList>

namespace {
struct Parts {
    QList<QStringView> fields;
    QChar separator;
};

bool isDigits(QStringView text)
{
    return !text.isEmpty() && std::all_of(text.begin(), text.end(), [](QChar c) { return c.isDigit(); });
}

int number(QStringView text)
{
    return isDigits(text) && text.size() <= 4 ? text.toInt() : -1;
}

// The first word of value, without the time an ISO date carries after "T".
QStringView dateWord(QStringView value)
{
    qsizetype end = 0;
    while (end < value.size() && !value[end].isSpace())
        ++end;
    QStringView word = value.left(end);
    if (word.size() > 10 && word[10] == u'T' && word[4] == u'-')
        word = word.left(10);
    if (word.endsWith(u'.'))
        word.chop(1);
    return word;
}

// Three fields between one kind of separator ("-", "." or "/").
Parts split(QStringView word)
{
    Parts parts;
    for (const QChar c : word) {
        if (c == u'-' || c == u'.' || c == u'/') {
            parts.separator = c;
            break;
        }
    }
    if (parts.separator.isNull())
        return parts;
    qsizetype start = 0;
    for (qsizetype i = 0; i <= word.size(); ++i) {
        if (i == word.size() || word[i] == parts.separator) {
            parts.fields << word.mid(start, i - start);
            start = i + 1;
        } else if (word[i] == u'-' || word[i] == u'.' || word[i] == u'/') {
            parts.fields.clear();
            return parts;
        }
    }
    if (parts.fields.size() != 3)
        parts.fields.clear();
    return parts;
}

int monthByName(QStringView name)
{
    static const char *const months[] = {"jan", "feb", "mar", "apr", "may", "jun",
                                         "jul", "aug", "sep", "oct", "nov", "dec"};
    if (name.size() != 3)
        return -1;
    for (int i = 0; i < 12; ++i)
        if (name.compare(QLatin1String(months[i]), Qt::CaseInsensitive) == 0)
            return i + 1;
    return -1;
}

QDate dayMonthYear(int day, int month, QStringView year)
{
    return year.size() == 4 ? QDate(number(year), month, day) : QDate();
}
} // namespace

QDate RegistryDate::read(QStringView value, Order order)
{
    const QStringView word = dateWord(value.trimmed());
    if (word.size() == 8 && isDigits(word))
        return QDate(word.left(4).toInt(), word.mid(4, 2).toInt(), word.mid(6, 2).toInt());

    const Parts parts = split(word);
    if (parts.fields.isEmpty())
        return {};
    const QStringView first = parts.fields[0];
    const QStringView second = parts.fields[1];
    const QStringView third = parts.fields[2];
    if (first.size() == 4 && second.size() <= 2 && third.size() <= 2)
        return QDate(number(first), number(second), number(third));
    if (first.size() > 2)
        return {};
    if (monthByName(second) > 0 && parts.separator == u'-')
        return dayMonthYear(number(first), monthByName(second), third);
    if (second.size() > 2)
        return {};
    // Dotted dates are day first wherever they are written.
    if (parts.separator == u'.')
        return dayMonthYear(number(first), number(second), third);

    const int a = number(first);
    const int b = number(second);
    if (a == b)
        return dayMonthYear(a, b, third);
    Order known = orderOf(word);
    if (known == Order::Unknown)
        known = order;
    if (known == Order::DayFirst)
        return dayMonthYear(a, b, third);
    if (known == Order::MonthFirst)
        return dayMonthYear(b, a, third);
    return {};
}

RegistryDate::Order RegistryDate::orderOf(QStringView value)
{
    const Parts parts = split(dateWord(value.trimmed()));
    if (parts.fields.isEmpty() || parts.separator == u'.' || parts.fields[2].size() != 4)
        return Order::Unknown;
    const int a = number(parts.fields[0]);
    const int b = number(parts.fields[1]);
    if (a < 1 || b < 1 || parts.fields[0].size() > 2 || parts.fields[1].size() > 2)
        return Order::Unknown;
    if (a > 12 && b <= 12)
        return Order::DayFirst;
    if (b > 12 && a <= 12)
        return Order::MonthFirst;
    return Order::Unknown;
}
