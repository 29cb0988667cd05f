// The reply box with a very large reply: putting it in and painting it, and
// typing in the box afterwards. Putting the reply in is measured against a
// bare text document taking the same text, the least the toolkit's text
// engine costs; a key typed is measured against a key typed in the box
// holding a reply of the usual size (4 KiB).

#include "BenchTable.h"
#include "Measure.h"
#include "OnScreen.h"
#include "SampleReply.h"

#include "app/Application.h"
#include "app/Form1.h"
#include "query/ReplyDecoder.h"

#include <QPlainTextDocumentLayout>
#include <QPlainTextEdit>
#include <QTest>
#include <QWindow>

#include <cstdio>
#include <optional>
#include <stdexcept>

namespace {
constexpr double MaxPaintMs = 300;
constexpr double MaxKeyMs = 16;

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
void showReply(Form1 &form, QPlainTextEdit *box, const QString &reply)
{
    box->setPlainText(reply);
    form.repaint();
    settle();
}

double typingMs(QPlainTextEdit *box, PaintCounter &counter, const QKeySequence &place)
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
        auto *box = form.findChild<QPlainTextEdit *>(QStringLiteral("txtResponse"));
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
    } catch (const std::exception &e) {
        std::fprintf(stderr, "bench_textbox: %s\n", e.what());
        return 1;
    }
    return 0;
}
