// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Marrowby Industries

// Start-up: Form1 created, loaded, shown and painted, each run in a fresh
// process as a user's start is, against a bare window of the same size put
// up the same way. Also the resident memory after start and after a query
// that brings an 8 MiB reply.

#include "BenchTable.h"
#include "LoopbackServer.h"
#include "Measure.h"
#include "OnScreen.h"
#include "SampleReply.h"

#include "LoopbackResolver.h"
#include "app/Application.h"
#include "app/Form1.h"
#include "query/WhoisClient.h"

#include <QElapsedTimer>
#include <QLineEdit>
#include <QMainWindow>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QTest>
#include <QWindow>

#include <cstdio>
#include <stdexcept>

namespace {
constexpr int Runs = 9;
constexpr double MaxStartMs = 100;
constexpr qsizetype LargeReply = 8 * 1024 * 1024;
constexpr double MaxReplyCopies = 3;

struct ChildFigures {
    double startMs = 0;
    double residentAfterStart = 0;
    double residentAfterReply = 0;
};

// One start in this process; prints the figures for the parent to read.
int child(int argc, char *argv[], bool form)
{
    Application app(argc, argv);
    // Made only when asked for, so that it is not counted in the memory
    // after start, and freed as soon as it is sent.
    LoopbackServer server("\n", [](const QByteArray &) { return SampleReply::whois(LargeReply); });
    auto resolver = std::make_shared<LoopbackResolver>();
    resolver->add(QStringLiteral("whois.internic.net"), server.port());

    ChildFigures figures;
    QElapsedTimer timer;
    if (form) {
        auto whois = std::make_unique<WhoisClient>(QStringLiteral("whois.internic.net"), 43, resolver);
        timer.start();
        Form1 window(std::move(whois));
        putUp(window);
        figures.startMs = double(timer.nsecsElapsed()) / 1e6;
        figures.residentAfterStart = Measure::residentBytes();

        window.findChild<QLineEdit *>(QStringLiteral("txtDomain"))->setText(QStringLiteral("example.com"));
        window.findChild<QPushButton *>(QStringLiteral("cmdQuery"))->click();
        // The lookup runs in its own thread; the reply is in once it ends,
        // handed back by an event posted to this one.
        while (window.isLookingUp())
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        window.repaint();
        QCoreApplication::processEvents();
        if (window.findChild<QPlainTextEdit *>(QStringLiteral("txtResponse"))->document()->characterCount() < LargeReply / 2)
            throw std::runtime_error("the 8 MiB reply did not reach txtResponse");
        figures.residentAfterReply = Measure::residentBytes();
    } else {
        timer.start();
        QMainWindow window;
        window.resize(432, 480);
        putUp(window);
        figures.startMs = double(timer.nsecsElapsed()) / 1e6;
        figures.residentAfterStart = Measure::residentBytes();
    }
    std::printf("%f %f %f\n", figures.startMs, figures.residentAfterStart, figures.residentAfterReply);
    return 0;
}

ChildFigures runChild(const QString &kind)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--child"), kind});
    if (!process.waitForFinished(60000) || process.exitCode() != 0)
        throw std::runtime_error("a start-up run failed");
    const QList<QByteArray> values = process.readAllStandardOutput().trimmed().split(' ');
    return {values.value(0).toDouble(), values.value(1).toDouble(), values.value(2).toDouble()};
}

int parent(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QList<double> formMs, floorMs, formStartRss, floorStartRss, formReplyRss;
    runChild(QStringLiteral("floor"));
    runChild(QStringLiteral("form"));
    for (int i = 0; i < Runs; ++i) {
        const ChildFigures form = runChild(QStringLiteral("form"));
        const ChildFigures floor = runChild(QStringLiteral("floor"));
        formMs.append(form.startMs);
        formStartRss.append(form.residentAfterStart);
        formReplyRss.append(form.residentAfterReply);
        floorMs.append(floor.startMs);
        floorStartRss.append(floor.residentAfterStart);
    }
    const double startMs = Measure::median(formMs);
    const double startFloorMs = Measure::median(floorMs);
    BenchTable::row(QStringLiteral("4. start: Form1 created, loaded, shown, painted"), BenchTable::ms(startMs),
                    BenchTable::ms(startFloorMs) + QLatin1String(" (bare window)"),
                    BenchTable::ratio(startMs, startFloorMs) + QLatin1String(", ")
                        + BenchTable::overhead(startMs, startFloorMs),
                    QStringLiteral("<= %1 ms").arg(MaxStartMs), startMs <= MaxStartMs);

    const double rss = Measure::median(formStartRss);
    const double rssFloor = Measure::median(floorStartRss);
    BenchTable::row(QStringLiteral("4. resident memory after start"), BenchTable::mib(rss),
                    BenchTable::mib(rssFloor) + QLatin1String(" (bare window)"),
                    QLatin1String("+") + BenchTable::mib(rss - rssFloor), QStringLiteral("report"), std::nullopt);

    // The least an 8 MiB reply can add: its text held once, in UTF-16.
    const double replyFloor = 2.0 * LargeReply;
    const double afterReply = Measure::median(formReplyRss);
    BenchTable::row(QStringLiteral("4. resident memory after an 8 MiB reply"), BenchTable::mib(afterReply),
                    BenchTable::mib(rss + replyFloor) + QLatin1String(" (+1 UTF-16 copy)"),
                    QStringLiteral("+%1 = %2 copies")
                        .arg(BenchTable::mib(afterReply - rss))
                        .arg((afterReply - rss) / replyFloor, 0, 'f', 1),
                    QStringLiteral("<= %1 copies").arg(MaxReplyCopies),
                    (afterReply - rss) / replyFloor <= MaxReplyCopies);
    return 0;
}
} // namespace

int main(int argc, char *argv[])
{
    try {
        if (argc == 3 && qstrcmp(argv[1], "--child") == 0)
            return child(argc, argv, qstrcmp(argv[2], "form") == 0);
        return parent(argc, argv);
    } catch (const std::exception &e) {
        std::fprintf(stderr, "bench_start: %s\n", e.what());
        return 1;
    }
}
