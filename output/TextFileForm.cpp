// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Marrowby Industries

#include "output/TextFileForm.h"

#include "output/FileError.h"

#include <QSaveFile>

QByteArray TextFileForm::encode(const QString &text)
{
    return text.toLocal8Bit() + QByteArrayLiteral("\r\n");
}

bool TextFileForm::writeAll(QIODevice &device, QByteArrayView bytes)
{
    for (qint64 done = 0; done < bytes.size();) {
        const qint64 written = device.write(bytes.data() + done, bytes.size() - done);
        if (written <= 0)
            return false;
        done += written;
    }
    return true;
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
    if (!writeAll(file, encode(text))) {
        const QString reason = file.errorString();
        file.cancelWriting();
        throw FileError(path, reason);
    }
    if (!file.commit())
        throw FileError(path, file.errorString());
}
