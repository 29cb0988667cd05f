// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Marrowby Industries

// A query through the window: the click on "&Query", the lookup in its own
// thread, the reply handed back to the window thread and set into the box.
// Against a blocking socket that fetches the same bytes, and against the
// same steps on the window thread alone, which leaves the hand-off.

#include "BenchTable.h"
#include "BlockingClient.h"
#include "LoopbackServer.h"
#include "Measure.h"
#include "OnScreen.h"
#include "SampleReply.h"

#include "LoopbackResolver.h"
#include "app/Application.h"
#include "app/Form1.h"
#include "query/WhoisClient.h"
#include "ui/ReplyBox.h"

#include <QCursor>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPushButton>

#include <cstdio>
#include <stdexcept>

namespace {
// A frame at 60 Hz: nothing a user could see.
constexpr double MaxOverSocketMs = 16.0;
constexpr double MaxHandOffMs = 0.3;

void clickToReply(int repetitions)
{
    const QByteArray reply = SampleReply::whois(4 * 1024);
    LoopbackServer server("\n", [&reply](const QByteArray &) { return reply; });
    auto resolver = std::make_shared<LoopbackResolver>();
    resolver->add(QStringLiteral("whois.internic.net"), server.port());
    Form1 window(std::make_unique<WhoisClient>(QStringLiteral("whois.internic.net"), 43, resolver,
                                               QUrl(QStringLiteral("http://127.0.0.1:1/dns.json"))));
    putUp(window);
    window.findChild<QLineEdit *>(QStringLiteral("txtDomain"))->setText(QStringLiteral("example.com"));
    auto *query = window.findChild<QPushButton *>(QStringLiteral("cmdQuery"));
    auto *response = window.findChild<ReplyBox *>(QStringLiteral("txtResponse"));

    const auto clickAndWait = [&] {
        query->click();
        // The reply comes back as an event posted to the window thread.
        while (window.isLookingUp())
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    };
    clickAndWait();
    if (!response->text().endsWith(QString::fromLatin1(reply).replace(QLatin1String("\r\n"), QLatin1String("\n"))))
        throw std::runtime_error("the reply did not reach txtResponse");

    const Measure::Pair overSocket = Measure::paired(repetitions, clickAndWait, [&] {
        BlockingClient::fetch(server.port(), "domain example.com\r\n");
    });
    BenchTable::row(QStringLiteral("1. click to reply through the window, 4 KiB reply"),
                    BenchTable::ms(overSocket.measured), BenchTable::ms(overSocket.floor) + QLatin1String(" (bare socket)"),
                    BenchTable::ratio(overSocket.measured, overSocket.floor) + QLatin1String(", ")
                        + BenchTable::overhead(overSocket.measured, overSocket.floor),
                    QStringLiteral("overhead <= %1 ms").arg(MaxOverSocketMs),
                    overSocket.measured - overSocket.floor <= MaxOverSocketMs);

    WhoisClient sameThread(QStringLiteral("whois.internic.net"), 43, resolver,
                           QUrl(QStringLiteral("http://127.0.0.1:1/dns.json")));
    const Measure::Pair handOff = Measure::paired(repetitions, clickAndWait, [&] {
        response->setText(QStringLiteral("Querying remote server..."));
        QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
        sameThread.lookup(QStringLiteral("example.com"));
        response->setText(sameThread.replyText());
        QGuiApplication::restoreOverrideCursor();
    });
    BenchTable::row(QStringLiteral("1. the same: the hand-off between the threads"), BenchTable::ms(handOff.measured),
                    BenchTable::ms(handOff.floor) + QLatin1String(" (all on the window thread)"),
                    BenchTable::overhead(handOff.measured, handOff.floor),
                    QStringLiteral("overhead <= %1 ms").arg(MaxHandOffMs),
                    handOff.measured - handOff.floor <= MaxHandOffMs);
}
} // namespace

int main(int argc, char *argv[])
{
    Application app(argc, argv);
    try {
        clickToReply(300);
    } catch (const std::exception &e) {
        std::fprintf(stderr, "bench_query: %s\n", e.what());
        return 1;
    }
    return 0;
}
