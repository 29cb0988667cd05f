// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Marrowby Industries

#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

class QIODevice;

// The plain text form in which a reply goes to disk: the text exactly as
// given, one CR LF after it, in the locale's 8-bit encoding, nothing else.
class TextFileForm
{
public:
    static QByteArray encode(const QString &text);
    static QString decode(const QByteArray &bytes);

    // Replaces the file whole or not at all; throws FileError on failure,
    // leaving any earlier file of that name as it was. The one exception: a
    // file in a folder that cannot be written is rewritten in place, and a
    // failed write there leaves it cut short.
    static void write(const QString &path, const QString &text);

    // Writes on until every byte is out or a write fails (false; the
    // device's error string then says why). On an unbuffered file a write
    // that stops part-way reports no reason; only the next one, failing
    // outright, names it (a full disk, a size limit).
    static bool writeAll(QIODevice &device, QByteArrayView bytes);
};
