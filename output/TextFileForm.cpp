#include "output/TextFileForm.h"

#include "output/FileError.h"

#include <QSaveFile>

QByteArray TextFileForm::encode(const QString &text)
{
    return text.toLocal8Bit() + QByteArrayLiteral("\r\n");
}

QString TextFileForm::decode(const QByteArray &bytes)
{
    return QString::fromLocal8Bit(bytes);
}

void TextFileForm::write(const QString &path, const QString &text)
{
    // Unbuffered, so a short write shows here: QSaveFile in Qt 6.4 can
    // commit a temporary file whose buffered flush ran out of room, which
    // would replace a good file with a truncated one.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        throw FileError(path, file.errorString());
    const QByteArray bytes = encode(text);
    if (file.write(bytes) != bytes.size()) {
        const QString reason = file.errorString();
        file.cancelWriting();
        throw FileError(path, reason);
    }
    if (!file.commit())
        throw FileError(path, file.errorString());
}
