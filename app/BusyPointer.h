// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Marrowby Industries

#pragma once

// Shows the busy pointer over every window for as long as it lives, so the
// pointer comes back however the scope is left.
class BusyPointer
{
public:
    BusyPointer();
    ~BusyPointer();

    BusyPointer(const BusyPointer &) = delete;
    BusyPointer &operator=(const BusyPointer &) = delete;
};
