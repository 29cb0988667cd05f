// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Marrowby Industries

#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QCoreApplication>
#include <QString>

class QIODevice;

// The plain text form in which a reply goes to disk: the text exactly as
// given, one CR LF after it, in the locale's 8-bit encoding, nothing else.
class TextFileForm
{
    Q_DECLARE_TR_FUNCTIONS(TextFileForm)

public:
    static QByteArray encode(const QString &text);
    static QString decode(const QByteArray &bytes);

    // Replaces the file whole or not at all; throws FileError on failure,
    // leaving any earlier file of that name as it was, and saying so. A file
    // in a folder that cannot be written is rewritten in place.
    static void write(const QString &path, const QString &text);

    // Rewrites a file through the file itself, for a folder that takes no
    // new file. The room for bytes is reserved before a byte changes, so a
    // full disk, a quota or a size limit stops the rewrite with the old
    // file as it was. Throws FileError whose reason says what became of an
    // earlier file.
    static void rewriteInPlace(const QString &path, QByteArrayView bytes);

    // Writes on until every byte is out or a write fails (false; the
    // device's error string then says why). On an unbuffered file a write
    // that stops part-way reports no reason; only the next one, failing
    // outright, names it (a full disk, a size limit).
    static bool writeAll(QIODevice &device, QByteArrayView bytes);
};
