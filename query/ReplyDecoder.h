// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Marrowby Industries

#pragma once

#include <QByteArrayView>
#include <QString>

// Turns the bytes a server sent into display text.
class ReplyDecoder
{
public:
    // Line breaks become LF whatever the server used (CR LF, LF or CR).
    // Each line is read as UTF-8, as ISO-2022-JP where it switches into
    // Japanese by that encoding's escape sequences, or as windows-1252 where
    // its bytes are not valid UTF-8, so one badly encoded line does not
    // spoil the rest. A byte order mark that opens the reply is dropped.
    // Characters that isShownAsReplacement() names become U+FFFD.
    static QString decode(QByteArrayView bytes);

    // The same line breaks and replacements for text that arrived decoded
    // already, such as the strings of an RDAP record.
    static QString cleaned(QString text);

    // Control characters other than the tab and the line break would act on
    // whatever shows or reads the text later (a NUL ends it early for the
    // clipboard and for other programs reading a saved file, an ESC starts a
    // terminal sequence, a form feed breaks a printed page). The paragraph
    // separator and U+FDD0 / U+FDD1 end a block in the toolkit's text
    // engine, so the reply box would show and save them as line breaks.
    // Written without branches, so that the compiler checks many characters
    // at once.
    static bool isShownAsReplacement(char16_t u)
    {
        return ((u < 0x20) & (u != u'\t') & (u != u'\n')) | (char16_t(u - 0x7F) <= 0x9F - 0x7F)
            | (u == 0x2029) | (char16_t(u - 0xFDD0) <= 1);
    }
};
