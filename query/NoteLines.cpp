// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Marrowby Industries

#include "query/NoteLines.h"

#include <QStringList>

QString NoteLines::framed(const QString &sentence, int width)
{
    // The dashes stay with the first and last words, so they never stand alone.
    QStringList words = sentence.simplified().split(u' ', Qt::SkipEmptyParts);
    if (words.isEmpty())
        return QStringLiteral("--- ---");
    words.first().prepend(QLatin1String("--- "));
    words.last().append(QLatin1String(" ---"));

    const QString indent(4, u' ');
    QString text = words.takeFirst();
    qsizetype lineStart = 0;
    for (const QString &word : std::as_const(words)) {
        if (text.size() - lineStart + 1 + word.size() <= width) {
            text += u' ' + word;
        } else {
            text += u'\n';
            lineStart = text.size();
            text += indent + word;
        }
    }
    return text;
}
