// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Marrowby Industries

#pragma once

#include <QString>

// Who made Holdrin and where to find them. The preset domain, the web
// address and the mail address are all the maker's own, so they agree.
namespace Maker {
inline QString name() { return QStringLiteral("Marrowby Industries"); }
inline QString domain() { return QStringLiteral("marrowby.com"); }
inline QString webSite() { return QStringLiteral("https://www.marrowby.com/"); }
inline QString authorEmail() { return QStringLiteral("holdrin@marrowby.com"); }
} // namespace Maker
