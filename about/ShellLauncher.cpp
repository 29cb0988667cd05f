#include "about/ShellLauncher.h"

#include "ui/Failure.h"

#include <QCoreApplication>
#include <QProcess>
#include <QStandardPaths>

qint32 ShellLauncher::open(const QString &address)
{
    // Looked up on every call, so the PATH of the moment decides.
    const QString opener = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
    if (opener.isEmpty()) {
        throw Failure(QCoreApplication::translate(
            "ShellLauncher", "The desktop's program for opening addresses, xdg-open, was not found."));
    }

    QProcess process;
    process.setProgram(opener);
    process.setArguments({address});
    // The root directory always exists, and the opener and the browser it
    // starts hold no directory of ours open.
    process.setWorkingDirectory(QStringLiteral("/"));
    qint64 pid = 0;
    if (!process.startDetached(&pid)) {
        throw Failure(QCoreApplication::translate("ShellLauncher", "%1 could not be started: %2")
                              .arg(opener, process.errorString()));
    }
    return qint32(pid);
}
