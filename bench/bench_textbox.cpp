// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Marrowby Industries

// The reply box with a very large reply: putting it in and painting it, and
// typing in the box afterwards. Putting the reply in is measured against a
// bare text document taking the same text, the least the toolkit's text
// engine costs; a key typed is measured against a key typed in the box
// holding a reply of the usual size (4 KiB). A reply of one line at the
// size cap is measured against the same text in lines of the usual length.

#include "BenchTable.h"
#include "Measure.h"
#include "OnScreen.h"
#include "SampleReply.h"

#include "app/Application.h"
#include "app/Form1.h"
#include "query/ConnectionLimits.h"
#include "query/ReplyDecoder.h"
#include "ui/ReplyBox.h"

#include <QElapsedTimer>
#include <QFile>
#include <QPlainTextDocumentLayout>
#include <QTest>
#include <QWindow>

#include <cstdio>
#include <optional>
#include <stdexcept>

namespace {
constexpr double MaxPaintMs = 300;
constexpr double MaxKeyMs = 16;
constexpr double MaxResponsiveMs = 1000;

// What it costs here to touch a page of fresh memory for the first time: a
// large text document is built in fresh memory, so on a machine where page
// faults are dear this bounds how fast it can be.
double freshPageUs()
{
    constexpr qsizetype Bytes = 32 * 1024 * 1024;
    constexpr qsizetype Page = 4096;
    const double ms = Measure::medianMs(5, [] {
        QByteArray block(Bytes, Qt::Uninitialized);
        for (qsizetype at = 0; at < Bytes; at += Page)
            block.data()[at] = 1;
    });
    return ms * 1000 / (Bytes / Page);
}

void settle()
{
    QCoreApplication::processEvents();
}

// The reply goes in the way the query command puts it there; the window is
// then painted and whatever the box posted to itself is handled.
void showReply(Form1 &form, ReplyBox *box, const QString &reply)
{
    box->setText(reply);
    form.repaint();
    settle();
}

// The reply at the size cap put in once (it takes seconds), until the
// window is painted and takes input again, and the memory it took at most.
void longLineRows(Form1 &form, ReplyBox *box)
{
    QByteArray bytes = SampleReply::whois(ConnectionLimits().maxReplyBytes);
    const QString lines = ReplyDecoder::decode(bytes);
    const QString oneLine = ReplyDecoder::decode(bytes.replace("\r\n", "  "));
    struct Figures {
        double ms;
        double peak;
    };
    const auto put = [&](const QString &reply) {
        showReply(form, box, QString());
        Measure::resetPeak();
        const double before = Measure::residentBytes();
        QElapsedTimer timer;
        timer.start();
        showReply(form, box, reply);
        return Figures{double(timer.nsecsElapsed()) / 1e6, Measure::peakResidentBytes() - before};
    };
    const Figures floor = put(lines);
    const Figures measured = put(oneLine);
    showReply(form, box, QString());
    BenchTable::row(QStringLiteral("2. one-line reply at the cap (16 MiB) set into txtResponse, painted"),
                    BenchTable::ms(measured.ms), BenchTable::ms(floor.ms) + QLatin1String(" (same, usual lines)"),
                    BenchTable::ratio(measured.ms, floor.ms), QStringLiteral("<= %1 ms").arg(MaxResponsiveMs),
                    measured.ms <= MaxResponsiveMs);
    BenchTable::row(QStringLiteral("2. peak memory growth for it"), BenchTable::mib(measured.peak),
                    BenchTable::mib(floor.peak) + QLatin1String(" (same, usual lines)"),
                    BenchTable::ratio(measured.peak, floor.peak), QStringLiteral("report"), std::nullopt);
}

double typingMs(ReplyBox *box, PaintCounter &counter, const QKeySequence &place)
{
    QTest::keySequence(box, place);
    settle();
    const int paintsBefore = counter.paints;
    const double ms = Measure::medianMs(60, [box] {
        QTest::keyClick(box, 'x');
        settle();
    });
    if (counter.paints == paintsBefore)
        throw std::runtime_error("typing did not repaint the reply box");
    return ms;
}
} // namespace

int main(int argc, char *argv[])
{
    Application app(argc, argv);
    try {
        Form1 form;
        form.show();
        while (!form.windowHandle()->isExposed())
            settle();
        auto *box = form.findChild<ReplyBox *>(QStringLiteral("txtResponse"));
        if (!box)
            throw std::runtime_error("Form1 has no txtResponse");
        PaintCounter counter;
        box->viewport()->installEventFilter(&counter);

        const QString large = ReplyDecoder::decode(SampleReply::whois(8 * 1024 * 1024));
        const QString usual = ReplyDecoder::decode(SampleReply::whois(4 * 1024));

        // The floor's document is made and destroyed outside the timed part,
        // as the box's old text is cleared outside it.
        std::optional<QTextDocument> bare;
        const Measure::Pair paint = Measure::paired(
            7, [&] { showReply(form, box, large); },
            [&] {
                bare.emplace();
                bare->setDocumentLayout(new QPlainTextDocumentLayout(&*bare));
                bare->setPlainText(large);
            },
            [&] {
                showReply(form, box, QString());
                bare.reset();
            });
        BenchTable::row(QStringLiteral("2. 8 MiB reply set into txtResponse, painted"), BenchTable::ms(paint.measured),
                        BenchTable::ms(paint.floor) + QLatin1String(" (bare QTextDocument)"),
                        BenchTable::ratio(paint.measured, paint.floor) + QLatin1String(", ")
                            + BenchTable::overhead(paint.measured, paint.floor),
                        QStringLiteral("<= %1 ms").arg(MaxPaintMs), paint.measured <= MaxPaintMs);
        BenchTable::row(QStringLiteral("2. (machine) first touch of a fresh 4 KiB page"),
                        QString::number(freshPageUs(), 'f', 2) + QLatin1String(" us"), QStringLiteral("-"),
                        QStringLiteral("-"), QStringLiteral("report"), std::nullopt);

        box->setFocus();
        for (const auto &[where, place] : {std::pair{QStringLiteral("top"), QKeySequence(QKeySequence::MoveToStartOfDocument)},
                                           std::pair{QStringLiteral("end"), QKeySequence(QKeySequence::MoveToEndOfDocument)}}) {
            showReply(form, box, usual);
            const double floor = typingMs(box, counter, place);
            showReply(form, box, large);
            const double measured = typingMs(box, counter, place);
            BenchTable::row(QStringLiteral("2. key typed at the %1 of the 8 MiB reply").arg(where),
                            BenchTable::ms(measured), BenchTable::ms(floor) + QLatin1String(" (4 KiB)"),
                            BenchTable::ratio(measured, floor), QStringLiteral("< %1 ms").arg(MaxKeyMs),
                            measured < MaxKeyMs);
        }
        longLineRows(form, box);
    } catch (const std::exception &e) {
        std::fprintf(stderr, "bench_textbox: %s\n", e.what());
        return 1;
    }
    return 0;
}
