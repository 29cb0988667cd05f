// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Marrowby Industries

#pragma once

#include <QByteArray>
#include <QString>

// Turns the bytes a server sent into display text.
class ReplyDecoder
{
public:
    // Line breaks become LF whatever the server used (CR LF, LF or CR).
    // Each line is read as UTF-8, as ISO-2022-JP where it switches into
    // Japanese by that encoding's escape sequences, or as windows-1252 where
    // its bytes are not valid UTF-8, so one badly encoded line does not
    // spoil the rest. Control characters other than TAB and LF become
    // U+FFFD.
    static QString decode(QByteArray bytes);

    // CR LF and lone CR become LF.
    static QByteArray normaliseLineBreaks(QByteArray bytes);
};
