#include "FakeOpener.h"

#include <QDir>
#include <QFile>
#include <QTest>

namespace {
// Each call writes its record under a temporary name first, so a record
// that can be seen is complete.
const char RecordingScript[] = R"(#!/bin/sh
PATH=/usr/bin:/bin
dir=%1
{ pwd; printf '%s\n' "$#"; for a; do printf '%s\n' "$a"; done; } > "$dir/part.$$"
mv "$dir/part.$$" "$dir/call.$$"
)";

// Stays until released or its folder is gone, for a minute at most.
const char LingeringTail[] = R"(i=0
while [ -d "$dir" ] && [ ! -e "$dir/release" ] && [ $i -lt 600 ]; do sleep 0.1; i=$((i + 1)); done
[ $i -lt 600 ] || : > "$dir/gave-up"
)";

QString shellQuoted(const QString &text)
{
    QString quoted = text;
    quoted.replace(QLatin1Char('\''), QLatin1String("'\\''"));
    return QLatin1Char('\'') + quoted + QLatin1Char('\'');
}
} // namespace

FakeOpener::FakeOpener(Kind kind)
    : m_oldPath(qgetenv("PATH"))
{
    qputenv("PATH", QFile::encodeName(m_dir.path()));
    if (kind == Kind::Missing)
        return;

    QString script = QString::fromLatin1(RecordingScript).arg(shellQuoted(m_dir.path()));
    if (kind == Kind::Lingering)
        script += QLatin1String(LingeringTail);
    if (kind == Kind::Unstartable)
        script.replace(QLatin1String("#!/bin/sh"), QLatin1String("#!/nonexistent/sh"));

    QFile file(m_dir.filePath(QStringLiteral("xdg-open")));
    if (!file.open(QIODevice::WriteOnly) || file.write(script.toUtf8()) < 0)
        qFatal("Cannot write the fake xdg-open: %s", qPrintable(file.errorString()));
    file.close();
    QFile::Permissions permissions = QFile::ReadOwner | QFile::WriteOwner;
    if (kind != Kind::NotExecutable)
        permissions |= QFile::ExeOwner;
    file.setPermissions(permissions);
}

FakeOpener::~FakeOpener()
{
    release();
    qputenv("PATH", m_oldPath);
}

QList<QStringList> FakeOpener::calls() const
{
    const QDir dir(m_dir.path());
    const QStringList pattern{QStringLiteral("call.*")};
    if (!QTest::qWaitFor([&] { return !dir.entryList(pattern, QDir::Files).isEmpty(); }, 30000))
        return {};

    QList<QStringList> calls;
    for (const QString &name : dir.entryList(pattern, QDir::Files)) {
        QFile file(dir.filePath(name));
        if (!file.open(QIODevice::ReadOnly))
            continue;
        calls.append(QString::fromLocal8Bit(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts));
    }
    return calls;
}

bool FakeOpener::gaveUp() const
{
    return QFile::exists(m_dir.filePath(QStringLiteral("gave-up")));
}

void FakeOpener::release()
{
    QFile(m_dir.filePath(QStringLiteral("release"))).open(QIODevice::WriteOnly);
}
