// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Marrowby Industries

// The program as its main() runs it, with a lookup of a name the system's
// resolver is slow to answer: it starts the lookup, waits until the name
// is being resolved, and closes the window; with "stop-first", it stops
// the lookup by Esc first and closes the window once it has ended.

#include "app/Application.h"
#include "app/Form1.h"
#include "query/WhoisClient.h"
#include "ui/MessageBox.h"

#include <QFile>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QWindow>

int main(int argc, char *argv[])
{
    Application app(argc, argv);
    const bool stopFirst = app.arguments().contains(QLatin1String("stop-first"));
    // The box that reports the stop is answered at once.
    MessageBox::setPresetAnswer(true);
    Form1 form(std::make_unique<WhoisClient>(QStringLiteral("whois.resolver-hangs.test")));
    form.show();
    QTimer::singleShot(0, &form, [&form] { form.findChild<QPushButton *>(QStringLiteral("cmdQuery"))->click(); });
    const QString mark = qEnvironmentVariable("HOLDRIN_RESOLVING_MARK");
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &form, [&] {
        if (!QFile::exists(mark))
            return;
        if (stopFirst && form.isLookingUp()) {
            QTest::keyClick(form.windowHandle(), Qt::Key_Escape);
            return;
        }
        poll.stop();
        form.windowHandle()->close();
    });
    poll.start(10);
    return app.run(form);
}
