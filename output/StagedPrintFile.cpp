// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Marrowby Industries

#include "output/StagedPrintFile.h"

#include "output/FileError.h"
#include "output/TextFileForm.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPrinter>
#include <QRandomGenerator>

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <functional>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace {
constexpr mode_t OwnerOnly = S_IRUSR | S_IWUSR;

struct Staged {
    int fd = -1;
    QString path;
    bool named = false;
};

QString partName(const QString &dir, const QString &name)
{
    return QDir(dir).filePath(
        QStringLiteral(".%1.%2.part").arg(name).arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0')));
}

QString fdPath(int fd)
{
    return QStringLiteral("/proc/self/fd/%1").arg(fd);
}

// Makes a file under a fresh part name in dir by make, trying another name
// where one is taken; the name, or an empty text and why not.
QString atFreshName(const QString &dir, const QString &name, QString *reason,
                    const std::function<bool(const QByteArray &path)> &make)
{
    constexpr int Attempts = 16;
    for (int i = 0; i < Attempts; ++i) {
        const QString path = partName(dir, name);
        if (make(QFile::encodeName(path)))
            return path;
        const int error = errno;
        *reason = qt_error_string(error);
        if (error != EEXIST)
            return {};
    }
    return {};
}

// Creates a new empty file in dir that only the user may read. It has no
// name where the file system allows; its printer reaches it through
// /proc, and commit() gives it a name.
Staged createIn(const QString &dir, const QString &name, QString *reason)
{
    const int fd = ::open(QFile::encodeName(dir).constData(), O_TMPFILE | O_RDWR | O_CLOEXEC, OwnerOnly);
    if (fd >= 0) {
        if (QFileInfo::exists(fdPath(fd)))
            return {fd, fdPath(fd), false};
        ::close(fd);
    } else if (errno != EOPNOTSUPP && errno != EISDIR) {
        *reason = qt_error_string(errno);
        return {};
    }
    int named = -1;
    const QString path = atFreshName(dir, name, reason, [&named](const QByteArray &path) {
        named = ::open(path.constData(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, OwnerOnly);
        return named >= 0;
    });
    return path.isEmpty() ? Staged{} : Staged{named, path, true};
}

// Gives the unnamed file fd a name of its own in dir; the name, or an
// empty text and why not.
QString linkIn(const QString &dir, const QString &name, int fd, QString *reason)
{
    const QByteArray unnamed = QFile::encodeName(fdPath(fd));
    return atFreshName(dir, name, reason, [&unnamed](const QByteArray &path) {
        return ::linkat(AT_FDCWD, unnamed.constData(), AT_FDCWD, path.constData(), AT_SYMLINK_FOLLOW) == 0;
    });
}

// What any new file of the user's may be read and written by; owner-only
// where the user's file mask cannot be read. The mask is read, not set and
// put back, which would open a moment for other threads' new files.
mode_t newFileMode()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (status.open(QIODevice::ReadOnly)) {
        const QList<QByteArray> lines = status.readAll().split('\n');
        for (const QByteArray &line : lines) {
            if (!line.startsWith("Umask:"))
                continue;
            bool ok = false;
            const uint mask = line.mid(6).trimmed().toUInt(&ok, 8);
            if (ok)
                return 0666 & ~mode_t(mask);
        }
    }
    return OwnerOnly;
}

// Copies from over the file to, for a folder that takes no new file but
// holds a file that may be written.
QString copyInto(const QString &from, const QString &to)
{
    QFile source(from);
    if (!source.open(QIODevice::ReadOnly))
        return source.errorString();
    try {
        TextFileForm::rewriteInPlace(to, source.readAll());
    } catch (const FileError &e) {
        return e.reason();
    }
    return {};
}
} // namespace

StagedPrintFile::StagedPrintFile(QPrinter *printer, PrintQueue::Submitter submit)
    : m_printer(printer)
    , m_target(printer->outputFileName())
    , m_submit(std::move(submit))
{
    Staged staged;
    if (m_target.isEmpty()) {
        m_folder = QDir::tempPath();
        staged = createIn(m_folder, QStringLiteral("holdrin"), &m_reason);
    } else {
        const QFileInfo target(m_target);
        m_folder = target.absolutePath();
        staged = createIn(m_folder, target.fileName(), &m_reason);
        if (staged.fd < 0) {
            m_folder = QDir::tempPath();
            staged = createIn(m_folder, target.fileName(), &m_reason);
        }
    }
    if (staged.fd < 0)
        return;
    m_fd = staged.fd;
    m_stage = staged.path;
    m_named = staged.named;
    // A queue's printer given a file name writes the job's PDF there and
    // sends nothing. The name does not end in ".pdf", which would turn the
    // printer into the PDF writer and drop the queue's settings.
    m_printer->setOutputFileName(m_stage);
}

StagedPrintFile::~StagedPrintFile()
{
    if (m_fd < 0)
        return;
    m_printer->setOutputFileName(m_target);
    if (m_named && !m_committed)
        ::unlink(QFile::encodeName(m_stage).constData());
    ::close(m_fd);
}

QString StagedPrintFile::failure() const
{
    return m_fd < 0 ? m_reason : QString();
}

QString StagedPrintFile::commit()
{
    // The print service has its own copy once the job is taken.
    if (m_target.isEmpty())
        return m_submit(PrintQueue::job(m_printer, m_stage));
    const QFileInfo target(m_target);
    if (m_folder != target.absolutePath())
        return copyInto(m_stage, m_target);
    // Only whole pages may be read by others: as the chosen file was, or
    // as a new file of the user's is.
    struct stat chosen {};
    const mode_t mode = ::stat(QFile::encodeName(m_target).constData(), &chosen) == 0 ? chosen.st_mode & 0777
                                                                                       : newFileMode();
    if (::fchmod(m_fd, mode) != 0)
        return qt_error_string(errno);
    QString reason;
    const QString named = m_named ? m_stage : linkIn(m_folder, target.fileName(), m_fd, &reason);
    if (named.isEmpty())
        return reason;
    // rename() replaces the chosen file in one step, where QFile::rename
    // would refuse an existing one.
    if (std::rename(QFile::encodeName(named).constData(), QFile::encodeName(m_target).constData()) != 0) {
        reason = qt_error_string(errno);
        if (!m_named)
            ::unlink(QFile::encodeName(named).constData());
        return reason;
    }
    m_committed = true;
    return {};
}
