// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Marrowby Industries

#include "output/StagedPrintFile.h"

#include "output/TextFileForm.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPrinter>
#include <QRandomGenerator>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <utility>

namespace {
// Creates a new empty file with a name of its own in dir. The file gets the
// permissions any new file of the user gets, as the printed file would.
QString createIn(const QString &dir, const QString &name, QString *reason)
{
    constexpr int Attempts = 16;
    for (int i = 0; i < Attempts; ++i) {
        const QString path = QDir(dir).filePath(
            QStringLiteral(".%1.%2.part").arg(name).arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0')));
        QFile file(path);
        if (file.open(QIODevice::WriteOnly | QIODevice::NewOnly))
            return path;
        *reason = file.errorString();
        if (!file.exists())
            return {};
    }
    return {};
}

// Copies from into to, whole, for a folder that takes no new file but
// holds a file that may be written.
QString copyInto(const QString &from, const QString &to)
{
    QFile source(from);
    QFile target(to);
    if (!source.open(QIODevice::ReadOnly))
        return source.errorString();
    if (!target.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered))
        return target.errorString();
    constexpr qint64 Chunk = 1 << 20;
    while (!source.atEnd()) {
        if (!TextFileForm::writeAll(target, source.read(Chunk)))
            return target.errorString();
    }
    return {};
}
} // namespace

StagedPrintFile::StagedPrintFile(QPrinter *printer, PrintQueue::Submitter submit)
    : m_printer(printer)
    , m_target(printer->outputFileName())
    , m_submit(std::move(submit))
{
    if (m_target.isEmpty()) {
        // The pages of a queue's job are the user's alone until sent.
        m_stage = createIn(QDir::tempPath(), QStringLiteral("holdrin"), &m_reason);
        if (!m_stage.isEmpty())
            QFile::setPermissions(m_stage, QFile::ReadOwner | QFile::WriteOwner);
    } else {
        const QFileInfo target(m_target);
        m_stage = createIn(target.absolutePath(), target.fileName(), &m_reason);
        if (m_stage.isEmpty())
            m_stage = createIn(QDir::tempPath(), target.fileName(), &m_reason);
    }
    // A queue's printer given a file name writes the job's PDF there and
    // sends nothing. The name does not end in ".pdf", which would turn the
    // printer into the PDF writer and drop the queue's settings.
    if (!m_stage.isEmpty())
        m_printer->setOutputFileName(m_stage);
}

StagedPrintFile::~StagedPrintFile()
{
    if (m_stage.isEmpty())
        return;
    m_printer->setOutputFileName(m_target);
    if (!m_committed)
        QFile::remove(m_stage);
}

QString StagedPrintFile::failure() const
{
    return m_stage.isEmpty() ? m_reason : QString();
}

QString StagedPrintFile::commit()
{
    // The print service has its own copy once the job is taken.
    if (m_target.isEmpty())
        return m_submit(PrintQueue::job(m_printer, m_stage));
    const QFileInfo stage(m_stage);
    const QFileInfo target(m_target);
    if (stage.absolutePath() != target.absolutePath())
        return copyInto(m_stage, m_target);
    // An existing file keeps who may read it.
    if (target.exists())
        QFile::setPermissions(m_stage, QFile::permissions(m_target));
    // rename() replaces the chosen file in one step, where QFile::rename
    // would refuse an existing one.
    if (std::rename(QFile::encodeName(m_stage).constData(), QFile::encodeName(m_target).constData()) != 0)
        return QString::fromLocal8Bit(std::strerror(errno));
    m_committed = true;
    return {};
}
