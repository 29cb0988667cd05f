#pragma once

#include <QByteArray>
#include <QString>

// Turns the bytes a server sent into display text.
class ReplyDecoder
{
public:
    // Line breaks become LF whatever the server used (CR LF, LF or CR).
    // Each line is read as UTF-8, or as Latin-1 where its bytes are not
    // valid UTF-8, so one badly encoded line does not spoil the rest.
    static QString decode(QByteArray bytes);

    // CR LF and lone CR become LF.
    static QByteArray normaliseLineBreaks(QByteArray bytes);
};
