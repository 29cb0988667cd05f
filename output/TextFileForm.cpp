// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Marrowby Industries

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
    // A writable file in a folder that is not can only be rewritten in place.
    file.setDirectWriteFallback(true);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        throw FileError(path, file.errorString());
    // A write that stops part-way reports no reason; only the next one,
    // which fails outright, says why (a full disk, a size limit).
    const QByteArray bytes = encode(text);
    for (qint64 done = 0; done < bytes.size();) {
        const qint64 written = file.write(bytes.constData() + done, bytes.size() - done);
        if (written <= 0) {
            const QString reason = file.errorString();
            file.cancelWriting();
            throw FileError(path, reason);
        }
        done += written;
    }
    if (!file.commit())
        throw FileError(path, file.errorString());
}
