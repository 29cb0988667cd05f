// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Marrowby Industries

#pragma once

#include "common/Failure.h"

// The user stopped the lookup. Unlike a server's failure, it ends the whole
// lookup: no further server or route is tried after it.
class LookupStopped : public Failure
{
public:
    using Failure::Failure;
};
