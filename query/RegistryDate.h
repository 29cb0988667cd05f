// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Marrowby Industries

#pragma once

#include <QDate>
#include <QStringView>

// The dates registries write in their replies, read only where the form
// leaves no doubt: a wrong date is worse than none.
class RegistryDate
{
public:
    // Which number comes first in an all-numeric date such as 03/04/2025,
    // where the form alone does not say.
    enum class Order { Unknown, DayFirst, MonthFirst };

    // The date at the start of value; a time and zone after it are ignored,
    // so the date is the one the reply wrote. Invalid when the form is not
    // known, or is all-numeric with day and month in doubt.
    static QDate read(QStringView value, Order order = Order::Unknown);

    // What an all-numeric date says of its own order: day first when its
    // first number cannot be a month, month first when its second cannot.
    static Order orderOf(QStringView value);
};
