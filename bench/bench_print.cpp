// The print window with a long reply: the window opened on the print file
// until its first page is on screen, and the same document printed to PDF
// through the printer button. Each is measured against the least the
// toolkit does for the same pages: the same text, in the same font, broken
// into the same lines by the toolkit's line breaker and drawn page after
// page, with no running lines, rules or frame and nothing kept, into the
// toolkit's own preview widget of the same size and into a PDF printer.

#include "BenchTable.h"
#include "Measure.h"
#include "OnScreen.h"
#include "SampleReply.h"

#include "app/Application.h"
#include "output/Form2.h"
#include "output/PrintPreview.h"
#include "output/TextFileForm.h"
#include "query/ReplyDecoder.h"

#include <QAction>
#include <QFile>
#include <QFontMetricsF>
#include <QGraphicsView>
#include <QPainter>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTextLayout>
#include <QWindow>

#include <cstdio>
#include <optional>
#include <stdexcept>

namespace {
constexpr qsizetype ReplyBytes = 1024 * 1024;
constexpr int Repetitions = 5;
constexpr double MaxPreviewMs = 2000;
constexpr double MaxPdfMs = 3000;

void check(bool ok, const char *what)
{
    if (!ok)
        throw std::runtime_error(what);
}

// The fonts the print window sets its preview to.
QFont bodyFont()
{
    QFont font(QStringLiteral("Courier New"));
    font.setPointSizeF(14.25);
    font.setStyleHint(QFont::TypeWriter);
    return font;
}

QFont runningLineFont()
{
    QFont font(QStringLiteral("Arial"));
    font.setPointSizeF(11.25);
    return font;
}

// The floor's page loop: the same text in the body font, broken into lines
// by the toolkit's line breaker at the width of the print window's page
// body, and drawn line after line as it is broken, a new page whenever the
// body (the paint area less a running line and a half at head and foot) is
// full. Nothing is kept and nothing else is drawn. Returns the page count.
int paintBarePages(QPrinter *printer, const QString &text)
{
    const QSizeF paintArea = printer->pageLayout().paintRectPixels(printer->resolution()).size();
    const qreal runningLine = QFontMetricsF(runningLineFont(), printer).height();
    const QSizeF body(paintArea.width(), paintArea.height() - 3 * runningLine);
    const QFont font = bodyFont();
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);

    QPainter painter(printer);
    int pages = 1;
    qreal y = 0;
    // The print file's lines end in LF, the last one in CR LF, and that
    // closing line break opens no line of its own.
    QStringList paragraphs = text.split(QLatin1Char('\n'));
    if (paragraphs.size() > 1 && paragraphs.constLast().isEmpty())
        paragraphs.removeLast();
    for (QString &paragraph : paragraphs) {
        if (paragraph.endsWith(QLatin1Char('\r')))
            paragraph.chop(1);
        QTextLayout layout(paragraph, font, printer);
        layout.setTextOption(option);
        layout.beginLayout();
        for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine())
            line.setLineWidth(body.width());
        layout.endLayout();
        for (int i = 0; i < layout.lineCount(); ++i) {
            const QTextLine line = layout.lineAt(i);
            if (y + line.height() > body.height() && y > 0) {
                printer->newPage();
                ++pages;
                y = 0;
            }
            line.draw(&painter, QPointF(0, y - line.y()));
            y += line.height();
        }
    }
    return pages;
}

QString readText(const QString &path)
{
    QFile file(path);
    check(file.open(QIODevice::ReadOnly), "the print file cannot be read");
    return QString::fromUtf8(file.readAll());
}

int pdfPageCount(const QString &pdf)
{
    QProcess process;
    process.start(QStringLiteral("pdfinfo"), {pdf});
    check(process.waitForFinished(60000) && process.exitCode() == 0, "pdfinfo failed");
    const QRegularExpressionMatch match = QRegularExpression(QStringLiteral("^Pages:\\s+(\\d+)$"),
                                                             QRegularExpression::MultilineOption)
                                              .match(QString::fromUtf8(process.readAllStandardOutput()));
    return match.hasMatch() ? match.captured(1).toInt() : 0;
}

QString pages(int count)
{
    return QStringLiteral("%1 pages").arg(count);
}
} // namespace

int main(int argc, char *argv[])
{
    Application app(argc, argv);
    try {
        QTemporaryDir dir;
        check(dir.isValid(), "no temporary folder");
        // The print file as the print command writes it from the reply box.
        const QString printFile = dir.filePath(QStringLiteral("Tempfile.txt"));
        TextFileForm::write(printFile, ReplyDecoder::decode(SampleReply::whois(ReplyBytes)));
        const QString pdf = dir.filePath(QStringLiteral("measured.pdf"));
        const QString floorPdf = dir.filePath(QStringLiteral("floor.pdf"));

        // The page set-up and the size of the page view, taken from the
        // window itself so that the floor shows the same pages at the same
        // scale.
        QPageLayout pageLayout;
        QSize viewSize;
        int windowPages = 0;
        {
            Form2 form(printFile);
            putUp(form);
            const auto *vp = form.findChild<PrintPreview *>(QStringLiteral("vp"));
            check(vp && vp->text().size() >= ReplyBytes / 2, "the print window did not take the reply");
            pageLayout = vp->printer()->pageLayout();
            viewSize = form.findChild<QPrintPreviewWidget *>(QStringLiteral("pages"))->size();
            windowPages = vp->pageCount();
        }

        // The preview: the window opened on the print file, shown, and its
        // page view painted once.
        std::optional<Form2> form;
        PaintCounter formPaints;
        std::optional<QPrintPreviewWidget> bare;
        std::optional<QPrinter> barePrinter;
        PaintCounter barePaints;
        int barePages = 0;
        const Measure::Pair preview = Measure::paired(
            Repetitions,
            [&] {
                const int paintsBefore = formPaints.paints;
                form.emplace(printFile);
                auto *view = form->findChild<QPrintPreviewWidget *>();
                view->findChild<QGraphicsView *>()->viewport()->installEventFilter(&formPaints);
                putUp(*form);
                check(formPaints.paints > paintsBefore, "the print window's pages were not painted");
                check(view->pageCount() == windowPages, "the print window's preview lacks pages");
            },
            [&] {
                barePrinter.emplace(QPrinter::HighResolution);
                barePrinter->setPageLayout(pageLayout);
                bare.emplace(&*barePrinter);
                QObject::connect(&*bare, &QPrintPreviewWidget::paintRequested, [&](QPrinter *printer) {
                    barePages = paintBarePages(printer, readText(printFile));
                });
                bare->resize(viewSize);
                const int paintsBefore = barePaints.paints;
                bare->findChild<QGraphicsView *>()->viewport()->installEventFilter(&barePaints);
                putUp(*bare);
                check(barePaints.paints > paintsBefore, "the bare preview was not painted");
            },
            [&] {
                form.reset();
                bare.reset();
                barePrinter.reset();
            });
        BenchTable::row(QStringLiteral("3. print window, 1 MiB reply (%1): preview, first page painted")
                            .arg(pages(windowPages)),
                        BenchTable::ms(preview.measured),
                        BenchTable::ms(preview.floor) + QLatin1String(" (bare, ") + pages(barePages) + QLatin1Char(')'),
                        BenchTable::ratio(preview.measured, preview.floor) + QLatin1String(", ")
                            + BenchTable::overhead(preview.measured, preview.floor),
                        QStringLiteral("<= %1 ms").arg(MaxPreviewMs), preview.measured <= MaxPreviewMs);

        // Printing: the printer button of an open window, with the print
        // dialog answered by a PDF file, until the pages are written and
        // the window is back.
        PrintPreview::setPrintDialogHook([&](QPrinter *printer, QWidget *) {
            printer->setOutputFormat(QPrinter::PdfFormat);
            printer->setOutputFileName(pdf);
            return true;
        });
        form.emplace(printFile);
        putUp(*form);
        auto *print = form->findChild<QAction *>(QStringLiteral("print"));
        check(print, "the print window has no printer button");
        const Measure::Pair printing = Measure::paired(
            Repetitions,
            [&] {
                print->trigger();
                QCoreApplication::processEvents();
            },
            [&] {
                QPrinter printer(QPrinter::HighResolution);
                printer.setPageLayout(pageLayout);
                printer.setOutputFormat(QPrinter::PdfFormat);
                printer.setOutputFileName(floorPdf);
                barePages = paintBarePages(&printer, readText(printFile));
            });
        form.reset();
        PrintPreview::setPrintDialogHook({});
        const int pdfPages = pdfPageCount(pdf);
        check(pdfPages == windowPages, "the PDF lacks pages");
        check(pdfPageCount(floorPdf) == barePages, "the floor's PDF lacks pages");
        BenchTable::row(QStringLiteral("3. the same %1 printed to PDF").arg(pages(pdfPages)),
                        BenchTable::ms(printing.measured),
                        BenchTable::ms(printing.floor) + QLatin1String(" (bare, ") + pages(barePages)
                            + QLatin1Char(')'),
                        BenchTable::ratio(printing.measured, printing.floor) + QLatin1String(", ")
                            + BenchTable::overhead(printing.measured, printing.floor),
                        QStringLiteral("<= %1 ms").arg(MaxPdfMs), printing.measured <= MaxPdfMs);
    } catch (const std::exception &e) {
        std::fprintf(stderr, "bench_print: %s\n", e.what());
        return 1;
    }
    return 0;
}
