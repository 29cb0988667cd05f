#pragma once

#include <QByteArray>
#include <QString>

// The plain text form in which a reply goes to disk: the text exactly as
// given, one CR LF after it, in the locale's 8-bit encoding, nothing else.
class TextFileForm
{
public:
    static QByteArray encode(const QString &text);
    static QString decode(const QByteArray &bytes);

    // Replaces the file whole or not at all; throws FileError on failure,
    // leaving any earlier file of that name as it was.
    static void write(const QString &path, const QString &text);
};
