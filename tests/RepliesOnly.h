// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Marrowby Industries

#pragma once

#include <QRegularExpression>
#include <QString>

// A lookup's text without the key facts that lead it: the replies and
// notes as the servers' answers are laid out below the facts. Tests of how
// servers are asked compare these; the facts have tests of their own.
inline QString repliesOnly(QString text)
{
    if (!text.startsWith(QLatin1String("Key facts for ")))
        return text;
    // The block holds no empty line; the first one ends it.
    text.remove(0, text.indexOf(QLatin1String("\n\n")) + 2);
    // The first reply has a header only because the facts stand above it.
    static const QRegularExpression firstHeader(QStringLiteral("^--- Reply from [^\\n]* ---\\n"),
                                                QRegularExpression::MultilineOption);
    const QRegularExpressionMatch header = firstHeader.match(text);
    if (header.hasMatch()) {
        qsizetype start = header.capturedStart();
        if (start > 0)
            --start; // the empty line that set it apart from a note above
        text.remove(start, header.capturedEnd() - start);
    }
    return text;
}
