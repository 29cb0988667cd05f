// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Marrowby Industries

#include "query/ReplyDecoder.h"

#include <QStringDecoder>

#include <algorithm>
#include <cstring>
#include <optional>

namespace {
constexpr qsizetype Margin = 4096;

// ISO-2022-JP is seven-bit: a line that switches to JIS X 0208 or back
// and holds no eight-bit byte is read as such. Each line starts afresh in
// ASCII, since RFC 1468 has a line leave JIS X 0208 before it ends.
bool isIso2022Jp(QByteArrayView line)
{
    static const QByteArrayView designations[] = {"\x1B$B", "\x1B$@", "\x1B(B", "\x1B(J"};
    return line.contains('\x1B')
        && std::none_of(line.begin(), line.end(), [](char c) { return uchar(c) >= 0x80; })
        && std::any_of(std::begin(designations), std::end(designations),
                       [line](QByteArrayView d) { return line.contains(d); });
}

// The bytes that plain ASCII text cannot take over as they are: control
// characters (the line breaks among them), DEL and every byte above ASCII.
bool needsCare(uchar b)
{
    return uchar(b - 0x20) >= 0x7F - 0x20;
}

void replaceShown(char16_t *from, char16_t *to)
{
    for (; from != to; ++from) {
        if (ReplyDecoder::isShownAsReplacement(*from))
            *from = QChar::ReplacementCharacter;
    }
}
} // namespace

QString ReplyDecoder::decode(QByteArrayView bytes)
{
    const uchar *const begin = reinterpret_cast<const uchar *>(bytes.data());
    const uchar *const end = begin + bytes.size();
    // Almost every reply is ASCII or valid UTF-8 throughout, and then no
    // character takes more than its byte. Room is left before and after
    // the characters, so that the lines a lookup puts around a long reply
    // (its key facts, headers and notes) go in without copying the reply.
    QString text(Margin + bytes.size() + Margin, Qt::Uninitialized);
    char16_t *first = reinterpret_cast<char16_t *>(text.data()) + Margin;

    std::optional<QStringDecoder> utf8;
    std::optional<QStringDecoder> windows1252;
    std::optional<QStringDecoder> iso2022Jp;
    // A line that is more than plain ASCII is read whole, from its first
    // byte on, with what it was read as before thrown away; returns where
    // its characters end in the text.
    const auto decodeLine = [&](QByteArrayView line, qsizetype at) -> qsizetype {
        const auto room = [&](qsizetype size) {
            if (Margin + at + size + Margin > text.size()) {
                text.resize(Margin + at + size + (end - reinterpret_cast<const uchar *>(line.end())) + Margin);
                first = reinterpret_cast<char16_t *>(text.data()) + Margin;
            }
            return first + at;
        };
        QString piece;
        if (isIso2022Jp(line)) {
            if (!iso2022Jp)
                iso2022Jp.emplace("ISO-2022-JP", QStringConverter::Flag::Stateless);
            iso2022Jp->resetState();
            // Read with its line break, which ends what a stray byte before
            // it began; the break itself is written by the caller.
            const bool broken = line.end() != reinterpret_cast<const char *>(end);
            piece = iso2022Jp->decode(broken ? line.toByteArray() + '\n' : line.toByteArray());
            if (broken && piece.endsWith(u'\n'))
                piece.chop(1);
        } else {
            // Only a mark at the very start of the reply is taken for one.
            const bool bom = line.data() == bytes.data() && line.startsWith("\xEF\xBB\xBF");
            const QByteArrayView encoded = bom ? line.sliced(3) : line;
            if (!utf8)
                utf8.emplace(QStringConverter::Utf8,
                             QStringConverter::Flag::Stateless | QStringConverter::Flag::ConvertInitialBom);
            utf8->resetState();
            char16_t *out = room(utf8->requiredSpace(encoded.size()));
            char16_t *written =
                reinterpret_cast<char16_t *>(utf8->appendToBuffer(reinterpret_cast<QChar *>(out), encoded));
            if (!utf8->hasError()) {
                replaceShown(out, written);
                return written - first;
            }
            if (!windows1252)
                windows1252.emplace("windows-1252", QStringConverter::Flag::Stateless);
            piece = windows1252->decode(line);
        }
        char16_t *out = room(piece.size());
        std::memcpy(out, piece.utf16(), piece.size() * sizeof(char16_t));
        replaceShown(out, out + piece.size());
        return at + piece.size();
    };

    // One walk over the bytes: printable ASCII is widened as it is, line
    // breaks become LF, and a line with other bytes is read again whole.
    constexpr qsizetype Block = 16;
    const uchar *in = begin;
    const uchar *lineStart = begin;
    char16_t *out = first;
    qsizetype lineAt = 0;
    while (in != end) {
        // Whole blocks without a branch a byte are what the compiler turns
        // into vector code; a block with a byte that needs care is taken
        // byte by byte below, its characters written here then overwritten.
        while (end - in >= Block) {
            unsigned care = 0;
            for (qsizetype i = 0; i < Block; ++i) {
                out[i] = in[i];
                care |= unsigned(needsCare(in[i]));
            }
            if (care)
                break;
            in += Block;
            out += Block;
        }
        const uchar *const stop = end - in > Block ? in + Block : end;
        while (in != stop && !needsCare(*in))
            *out++ = *in++;
        if (in == stop)
            continue;
        switch (*in) {
        case '\r':
            if (end - in > 1 && in[1] == '\n')
                ++in;
            [[fallthrough]];
        case '\n':
            *out++ = u'\n';
            lineStart = ++in;
            lineAt = out - first;
            break;
        case '\t':
            *out++ = u'\t';
            ++in;
            break;
        default:
            if (*in < 0x80 && *in != 0x1B) {
                *out++ = QChar::ReplacementCharacter;
                ++in;
                break;
            }
            const uchar *lineEnd = in;
            while (lineEnd != end && *lineEnd != '\n' && *lineEnd != '\r')
                ++lineEnd;
            const qsizetype decodedEnd = decodeLine(QByteArrayView(lineStart, lineEnd - lineStart), lineAt);
            out = first + decodedEnd;
            in = lineEnd;
        }
    }
    text.truncate(Margin + (out - first));
    // Taking characters off the front only moves where the text begins.
    text.remove(0, Margin);
    return text;
}

QString ReplyDecoder::cleaned(QString text)
{
    char16_t *write = reinterpret_cast<char16_t *>(text.data());
    const char16_t *const start = write;
    const char16_t *in = write;
    const char16_t *const end = in + text.size();
    while (in != end) {
        const char16_t c = *in++;
        if (c == u'\r') {
            *write++ = u'\n';
            if (in != end && *in == u'\n')
                ++in;
        } else {
            *write++ = isShownAsReplacement(c) ? char16_t(QChar::ReplacementCharacter) : c;
        }
    }
    text.truncate(write - start);
    return text;
}
