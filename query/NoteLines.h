// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Marrowby Industries

#pragma once

#include <QString>

// The program's own lines between replies ("--- Reply from … ---", or why a
// server gave nothing). The reply box does not wrap, so a long sentence is
// broken between words over several lines; a word longer than a line, such
// as a URL, stays whole on a line of its own.
class NoteLines
{
public:
    static constexpr int Width = 80;

    // "--- sentence ---", over as many lines as it needs, without a final line end.
    static QString framed(const QString &sentence, int width = Width);
};
