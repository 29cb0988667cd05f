#include "query/ReplyDecoder.h"

#include <QStringDecoder>

namespace {
bool decodeUtf8(QByteArrayView bytes, QString &out)
{
    QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    out = utf8.decode(bytes);
    return !utf8.hasError();
}
// A NUL would end the text early for much of what reads it later (the
// clipboard, other programs reading a saved file); show it as a
// replacement character instead.
QString withoutNul(QString text)
{
    if (text.contains(QChar(0)))
        text.replace(QChar(0), QChar::ReplacementCharacter);
    return text;
}
} // namespace

QString ReplyDecoder::decode(QByteArray bytes)
{
    bytes = normaliseLineBreaks(std::move(bytes));

    QString text;
    if (decodeUtf8(bytes, text))
        return withoutNul(std::move(text));

    text.clear();
    text.reserve(bytes.size());
    QString line;
    qsizetype start = 0;
    while (start < bytes.size()) {
        qsizetype end = bytes.indexOf('\n', start);
        end = end < 0 ? bytes.size() : end + 1;
        const QByteArrayView piece(bytes.constData() + start, end - start);
        if (decodeUtf8(piece, line))
            text += line;
        else
            text += QString::fromLatin1(piece);
        start = end;
    }
    return withoutNul(std::move(text));
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
