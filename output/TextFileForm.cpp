// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Marrowby Industries

#include "output/TextFileForm.h"

#include "output/FileError.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace {
enum class OldFile { None, Kept, Damaged };

QString withOldFile(const QString &reason, OldFile old)
{
    switch (old) {
    case OldFile::None:
        break;
    case OldFile::Kept:
        return TextFileForm::tr("%1; the old file was left as it was").arg(reason);
    case OldFile::Damaged:
        return TextFileForm::tr("%1; the old file was partly overwritten").arg(reason);
    }
    return reason;
}
} // namespace

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
    const QByteArray bytes = encode(text);
    const OldFile old = QFileInfo(path).isFile() ? OldFile::Kept : OldFile::None;
    // Unbuffered, so a short write shows here: QSaveFile in Qt 6.4 can
    // commit a temporary file whose buffered flush ran out of room, which
    // would replace a good file with a truncated one. Its own fallback to
    // writing in place would cut the old file short on a full disk.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        // A writable file in a folder that is not can only be rewritten in
        // place.
        if (old != OldFile::Kept)
            throw FileError(path, file.errorString());
        rewriteInPlace(path, bytes);
        return;
    }
    if (!writeAll(file, bytes)) {
        const QString reason = file.errorString();
        file.cancelWriting();
        throw FileError(path, withOldFile(reason, old));
    }
    if (!file.commit())
        throw FileError(path, withOldFile(file.errorString(), old));
}

void TextFileForm::rewriteInPlace(const QString &path, QByteArrayView bytes)
{
    OldFile old = QFileInfo::exists(path) ? OldFile::Kept : OldFile::None;
    const int fd = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CREAT | O_CLOEXEC, 0666);
    if (fd < 0)
        throw FileError(path, withOldFile(qt_error_string(errno), old));
    const auto fail = [&](int error) {
        ::close(fd);
        throw FileError(path, withOldFile(qt_error_string(error), old));
    };
    // Where the file system cannot reserve room, nothing is changed either.
    if (!bytes.isEmpty()) {
        if (const int error = ::posix_fallocate(fd, 0, bytes.size()))
            fail(error);
    }
    if (old == OldFile::Kept)
        old = OldFile::Damaged;
    for (qsizetype done = 0; done < bytes.size();) {
        const ssize_t written = ::pwrite(fd, bytes.data() + done, size_t(bytes.size() - done), done);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            fail(written < 0 ? errno : EIO);
        done += written;
    }
    if (::ftruncate(fd, bytes.size()) != 0 || ::fsync(fd) != 0)
        fail(errno);
    if (::close(fd) != 0)
        throw FileError(path, withOldFile(qt_error_string(errno), old));
}
