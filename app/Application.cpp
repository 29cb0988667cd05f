// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Marrowby Industries

#include "app/Application.h"

#include "app/Form1.h"

#include "ui/Maker.h"
#include "ui/MessageBox.h"

#include <QFont>
#include <QIcon>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <thread>

#include <malloc.h>

namespace {
constexpr std::chrono::seconds CleanUpTime{1};
constexpr int LargeBuffer = 1024 * 1024;

// The windows name the faces they were designed with; these look alike and
// are packaged for Debian.
void installFontSubstitutes()
{
    QFont::insertSubstitutions(QStringLiteral("MS Sans Serif"),
                               {QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")});
    QFont::insertSubstitutions(QStringLiteral("Arial"),
                               {QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")});
    QFont::insertSubstitutions(QStringLiteral("Courier New"),
                               {QStringLiteral("Liberation Mono"), QStringLiteral("DejaVu Sans Mono")});
    QFont::insertSubstitutions(QStringLiteral("Comic Sans MS"),
                               {QStringLiteral("Comic Neue"), QStringLiteral("DejaVu Sans")});
}
} // namespace

Application::Application(int &argc, char **argv)
    : QApplication(argc, argv)
{
    // A buffer of a megabyte or more is mapped on its own and goes back to
    // the system once freed. Left to itself the allocator would soon keep
    // such buffers in the heap of the thread that made them, and the
    // lookup's thread would hold a long reply's spent buffers for the rest
    // of the run, where trimming the heap does not reach.
    mallopt(M_MMAP_THRESHOLD, LargeBuffer);
    setApplicationName(QStringLiteral("Holdrin"));
    setApplicationVersion(QStringLiteral("1.0"));
    setOrganizationName(Maker::name());
    setOrganizationDomain(Maker::domain());
    // Small sizes for title bars, large ones for task switchers; the desktop
    // matches the windows to the installed menu entry by its file name.
    QIcon icon;
    for (int size : {32, 48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/holdrin-%1.png").arg(size), QSize(size, size));
    setWindowIcon(icon);
    setDesktopFileName(QStringLiteral("com.marrowby.Holdrin"));
    installFontSubstitutes();
}

bool Application::notify(QObject *receiver, QEvent *event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception &e) {
        reportUnhandled(QString::fromUtf8(e.what()));
    } catch (...) {
        reportUnhandled(tr("An unknown error occurred."));
    }
    return false;
}

void Application::reportUnhandled(const QString &description)
{
    MessageBox::show(activeModalWidget() ? activeModalWidget() : activeWindow(),
                     tr("Holdrin met an error it cannot recover from and will close.\r\n\r\n%1")
                         .arg(description),
                     {}, MessageBox::Icon::Critical);
    exit(EXIT_FAILURE);
}

int Application::run(const Form1 &form)
{
    const int status = exec();
    // The lookup's own thread unwinds in a moment, but a name it left
    // resolving holds Qt's resolver thread, which the toolkit's clean-up
    // waits for as long as the system's resolver takes, half a minute or
    // more. Nothing is left to save or close that the system does not.
    if (form.isLookingUp()) {
        std::fflush(nullptr);
        std::_Exit(status);
    }
    // A lookup that was stopped or timed out while a name resolved has left
    // it there too. The clean-up (the clipboard handed to the desktop, say)
    // gets a moment; then the process ends all the same.
    std::thread([status] {
        std::this_thread::sleep_for(CleanUpTime);
        std::_Exit(status);
    }).detach();
    return status;
}
