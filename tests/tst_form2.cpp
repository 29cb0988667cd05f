// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Marrowby Industries

#include "TestMain.h"

#include "output/Form2.h"
#include "output/Pagination.h"
#include "output/PrintPreview.h"
#include "output/PrintQueue.h"
#include "output/StagedPrintFile.h"
#include "output/TextFileForm.h"
#include "ui/ElasticLayout.h"
#include "ui/MessageBox.h"

#include <QAction>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLocale>
#include <QPainter>
#include <QPrinter>
#include <QProcess>
#include <QProgressDialog>
#include <QPushButton>
#include <QTemporaryDir>
#include <QToolBar>
#include <QToolButton>

#include <sys/stat.h>

namespace {
const QString Head = QStringLiteral("Holdrin 1.0 from Marrowby Industries");

QString today()
{
    return QLocale().toString(QDate::currentDate(), QStringLiteral("dd-MMM-yy"));
}

// The text of a PDF, one entry per page.
QStringList pdfPages(const QString &pdf)
{
    QProcess process;
    process.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    if (!process.waitForFinished(60000) || process.exitCode() != 0)
        return {QStringLiteral("pdftotext failed: ") + QString::fromLocal8Bit(process.readAllStandardError())};
    QStringList pages = QString::fromUtf8(process.readAllStandardOutput()).split(QLatin1Char('\f'));
    if (!pages.isEmpty() && pages.constLast().trimmed().isEmpty())
        pages.removeLast();
    return pages;
}

// A page's lines with the blank ones left out.
QStringList nonBlankLines(const QString &page)
{
    QStringList lines = page.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    lines.removeIf([](const QString &line) { return line.trimmed().isEmpty(); });
    return lines;
}

// Answers the print dialog by pointing the printer at a PDF file.
void printToPdf(const QString &pdf, QPageSize::PageSizeId paper = QPageSize::A4)
{
    PrintPreview::setPrintDialogHook([pdf, paper](QPrinter *printer, QWidget *) {
        printer->setOutputFormat(QPrinter::PdfFormat);
        printer->setOutputFileName(pdf);
        printer->setPageSize(QPageSize(paper));
        return true;
    });
}
} // namespace

class TestForm2 : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void windowMatchesTheDesign();
    void shrunkWindowKeepsEveryControlWhole();
    void altKeysChooseTheZoom_data();
    void altKeysChooseTheZoom();
    void firstPageShowsBeforeTheRestIsLaidOut();
    void documentCarriesTheNameRunningLinesAndSetting();
    void bodyIsTheFileUnlessItIsAWebPage_data();
    void bodyIsTheFileUnlessItIsAWebPage();
    void missingFileIsCreatedEmptyAndTheWindowOpens();
    void exitClosesButEnterAndEscDoNot();
    void everyPageCarriesBothRunningLinesAndTheBodyArrivesWhole();
    void webPageReplyPrintsRunningLinesOnly();
    void longLinesWrapInsteadOfBeingCut();
    void eightyColumnLineStaysOnOneLine_data();
    void eightyColumnLineStaysOnOneLine();
    void tabsLineUpInColumns();
    void pathStaysWholeAndLiteralInTheFoot_data();
    void pathStaysWholeAndLiteralInTheFoot();
    void closingLineBreakOpensNoNewPage();
    void cancelLeavesNoOutput_data();
    void cancelLeavesNoOutput();
    void queuePrintIsSentOnceWhole_data();
    void queuePrintIsSentOnceWhole();
    void queueIsToldWhatThePagesDoNotCarry_data();
    void queueIsToldWhatThePagesDoNotCarry();
    void cancelledPrintDialogPrintsNothing();
    void unwritablePdfIsReported();
    void stagedPagesArePrivateAndUnseenUntilCommitted_data();
    void stagedPagesArePrivateAndUnseenUntilCommitted();
    void pageRangeOfThePrintDialogIsPrinted_data();
    void pageRangeOfThePrintDialogIsPrinted();
    void previewFollowsAPaperChangeMadeInThePrintDialog_data();
    void previewFollowsAPaperChangeMadeInThePrintDialog();

private:
    std::unique_ptr<Form2> open(const QByteArray &fileBytes);
    QStringList printedPages(Form2 &form, const QString &pdfName);

    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_printFile;
    QByteArray m_tempFolder;
};

void TestForm2::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    m_printFile = m_dir->filePath(QStringLiteral("Tempfile.txt"));
    // Whatever a print stages in the temporary folder is seen, or seen gone.
    m_tempFolder = qgetenv("TMPDIR");
    qputenv("TMPDIR", QFile::encodeName(m_dir->path()));
}

void TestForm2::cleanup()
{
    PrintPreview::setPrintDialogHook({});
    if (m_tempFolder.isEmpty())
        qunsetenv("TMPDIR");
    else
        qputenv("TMPDIR", m_tempFolder);
}

std::unique_ptr<Form2> TestForm2::open(const QByteArray &fileBytes)
{
    QFile file(m_printFile);
    if (file.open(QIODevice::WriteOnly))
        file.write(fileBytes);
    file.close();
    auto form = std::make_unique<Form2>(m_printFile);
    form->show();
    return form;
}

// Prints the window's document through its print action into a PDF and
// reads the pages back.
QStringList TestForm2::printedPages(Form2 &form, const QString &pdfName)
{
    const QString pdf = m_dir->filePath(pdfName);
    printToPdf(pdf);
    form.findChild<QAction *>(QStringLiteral("print"))->trigger();
    return pdfPages(pdf);
}

void TestForm2::windowMatchesTheDesign()
{
    auto form = open("reply\r\n");
    QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    QCOMPARE(form->windowTitle(), QStringLiteral("Print Domain Info"));
    QCOMPARE(form->size(), QSize(516, 461));
    QCOMPARE(form->palette().color(QPalette::Window), QColor(0, 128, 128));

    const struct {
        const char *name;
        QRect twips;
    } controls[] = {
        {"Command1", QRect(6600, 6360, 975, 495)},
        {"vp", QRect(120, 0, 7455, 6225)},
        {"Label1", QRect(120, 6360, 5895, 495)},
    };
    for (const auto &c : controls) {
        auto *widget = form->findChild<QWidget *>(QLatin1String(c.name));
        QVERIFY2(widget, c.name);
        QCOMPARE(widget->geometry(), ElasticLayout::toPixels(c.twips));
    }

    auto *exit = form->findChild<QPushButton *>(QStringLiteral("Command1"));
    QCOMPARE(exit->text(), QStringLiteral("&Exit"));
    QVERIFY(!exit->isDefault());
    QVERIFY(!exit->autoDefault());
    QApplication::setActiveWindow(form.get());
    QVERIFY(QTest::qWaitForWindowActive(form.get()));
    QCOMPARE(QApplication::focusWidget(), exit);

    auto *label = form->findChild<QLabel *>(QStringLiteral("Label1"));
    QCOMPARE(label->text(), QStringLiteral("Click the printer icon button above when ready to print."));
    QCOMPARE(label->palette().color(QPalette::WindowText), QColor(255, 255, 0));
    QVERIFY(!label->autoFillBackground());

    QStringList tools;
    for (QAction *action : form->findChild<QToolBar *>()->actions())
        if (!action->isSeparator())
            tools << action->text();
    QCOMPARE(tools, QStringList({QStringLiteral("Whole &Page"), QStringLiteral("Page &Width"),
                                 QStringLiteral("&Two Pages"), QStringLiteral("Thumb&nail"), QStringLiteral("&Print")}));
    auto *printButton = form->findChild<QToolButton *>(QStringLiteral("printButton"));
    QVERIFY(printButton);
    QVERIFY(!printButton->icon().pixmap(24).isNull());

    form->resize(1032, 922);
    QTRY_COMPARE(form->findChild<QWidget *>(QStringLiteral("Command1"))->geometry(), QRect(880, 848, 130, 66));
}

void TestForm2::shrunkWindowKeepsEveryControlWhole()
{
    auto form = open("reply\r\n");
    QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    form->resize(1, 1);
    QTRY_COMPARE(form->size(), form->minimumSize());
    QVERIFY(form->minimumSize().width() < 516);

    auto *exit = form->findChild<QPushButton *>(QStringLiteral("Command1"));
    const QSize text = exit->fontMetrics().size(Qt::TextShowMnemonic, exit->text());
    QTRY_VERIFY(exit->width() > text.width() && exit->height() > text.height());
    auto *label = form->findChild<QLabel *>(QStringLiteral("Label1"));
    QVERIFY(label->heightForWidth(label->width()) <= label->height());
    auto *toolBar = form->findChild<QToolBar *>();
    for (QAction *action : toolBar->actions())
        if (!action->isSeparator())
            QVERIFY2(toolBar->widgetForAction(action)->isVisible(), qPrintable(action->text()));
}

void TestForm2::altKeysChooseTheZoom_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("zoom");
    QTest::addColumn<QString>("shown");
    QTest::newRow("Alt+W") << int(Qt::Key_W) << QStringLiteral("pageWidth") << QStringLiteral("Page &Width");
    QTest::newRow("Alt+T") << int(Qt::Key_T) << QStringLiteral("twoPages") << QStringLiteral("&Two Pages");
    QTest::newRow("Alt+N") << int(Qt::Key_N) << QStringLiteral("thumbnail") << QStringLiteral("Thumb&nail");
    QTest::newRow("Alt+P") << int(Qt::Key_P) << QStringLiteral("wholePage") << QStringLiteral("Whole &Page");
}

void TestForm2::altKeysChooseTheZoom()
{
    QFETCH(int, key);
    QFETCH(QString, zoom);
    QFETCH(QString, shown);
    auto form = open("reply\r\n");
    QApplication::setActiveWindow(form.get());
    QVERIFY(QTest::qWaitForWindowActive(form.get()));
    auto *action = form->findChild<QAction *>(zoom);
    QVERIFY(action);
    auto *button = qobject_cast<QToolButton *>(form->findChild<QToolBar *>()->widgetForAction(action));
    // The button shows the text with its access key marked.
    QCOMPARE(button->text(), shown);
    // Start from another zoom, so that Alt+P has something to change.
    form->findChild<QAction *>(QStringLiteral("thumbnail"))->trigger();
    if (zoom == QLatin1String("thumbnail"))
        form->findChild<QAction *>(QStringLiteral("wholePage"))->trigger();
    QTest::keyClick(form.get(), Qt::Key(key), Qt::AltModifier);
    QTRY_VERIFY_WITH_TIMEOUT(action->isChecked(), 10000);
    QVERIFY(form->isVisible());
}

void TestForm2::firstPageShowsBeforeTheRestIsLaidOut()
{
    QByteArray reply;
    for (int i = 1; i <= 20000; ++i)
        reply += "Registrant record line " + QByteArray::number(i) + "\r\n";
    auto form = open(reply);
    auto *vp = form->findChild<PrintPreview *>(QStringLiteral("vp"));
    // The page view painted, with no chance yet to lay out anything more.
    QVERIFY(!form->findChild<QWidget *>(QStringLiteral("pages"))->grab().isNull());
    QVERIFY(!vp->pages()->isComplete());
    QVERIFY2(vp->pages()->pageCount() < 10, qPrintable(QString::number(vp->pages()->pageCount())));
    // The rest is found while the window waits for the user.
    QTRY_VERIFY_WITH_TIMEOUT(vp->pages()->isComplete(), 60000);
    QVERIFY(vp->pageCount() > 500);
}

void TestForm2::documentCarriesTheNameRunningLinesAndSetting()
{
    auto form = open("reply\r\n");
    auto *vp = form->findChild<PrintPreview *>(QStringLiteral("vp"));
    QVERIFY(vp);
    QCOMPARE(vp->docName(), QStringLiteral("Holdrin"));
    QCOMPARE(vp->header(), Head + QLatin1String("||Page %d"));
    QCOMPARE(vp->footer(), today() + QLatin1String("||") + m_printFile);
    QCOMPARE(vp->pageBorder(), 7);
    QCOMPARE(vp->printer()->pageLayout().pageSize().id(), QPageSize::A4);
    QCOMPARE(vp->printer()->pageLayout().orientation(), QPageLayout::Landscape);
}

void TestForm2::bodyIsTheFileUnlessItIsAWebPage_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("body");
    QTest::newRow("reply with its CR LF") << QByteArray("Domain: X\r\n") << QStringLiteral("Domain: X\r\n");
    QTest::newRow("web page") << QByteArray("<html><body>x</body></html>\r\n") << QString();
    QTest::newRow("web page in capitals") << QByteArray("<HTML>\r\n") << QString();
    QTest::newRow("web page in mixed case") << QByteArray("<hTmL>x") << QString();
    QTest::newRow("space before the tag") << QByteArray(" <html>\r\n") << QStringLiteral(" <html>\r\n");
    QTest::newRow("shorter than the tag") << QByteArray("<htm") << QStringLiteral("<htm");
    QTest::newRow("other tag") << QByteArray("<head>\r\n") << QStringLiteral("<head>\r\n");
    QTest::newRow("empty file") << QByteArray() << QString();
    QTest::newRow("UTF-8") << QByteArray("Z\xc3\xbcrich\r\n") << QStringLiteral("Z\u00fcrich\r\n");
}

void TestForm2::bodyIsTheFileUnlessItIsAWebPage()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, body);
    auto form = open(file);
    QCOMPARE(form->findChild<PrintPreview *>(QStringLiteral("vp"))->text(), body);
}

void TestForm2::missingFileIsCreatedEmptyAndTheWindowOpens()
{
    Form2 form(m_printFile);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QVERIFY(QFile::exists(m_printFile));
    QCOMPARE(QFileInfo(m_printFile).size(), 0);
    auto *vp = form.findChild<PrintPreview *>(QStringLiteral("vp"));
    QCOMPARE(vp->text(), QString());
    QCOMPARE(vp->pageCount(), 1);
}

void TestForm2::exitClosesButEnterAndEscDoNot()
{
    auto form = open("reply\r\n");
    QApplication::setActiveWindow(form.get());
    QVERIFY(QTest::qWaitForWindowActive(form.get()));
    auto *exit = form->findChild<QPushButton *>(QStringLiteral("Command1"));
    QTest::keyClick(exit, Qt::Key_Escape);
    QTest::keyClick(exit, Qt::Key_Return);
    QVERIFY(form->isVisible());
    QTest::mouseClick(exit, Qt::LeftButton);
    QVERIFY(!form->isVisible());
}

void TestForm2::everyPageCarriesBothRunningLinesAndTheBodyArrivesWhole()
{
    QByteArray reply;
    for (int i = 1; i <= 150; ++i)
        reply += "Registrant record line " + QByteArray::number(i).rightJustified(3, '0') + "\r\n";
    auto form = open(reply);
    const QString pdf = m_dir->filePath(QStringLiteral("out.pdf"));
    printToPdf(pdf);
    QTest::mouseClick(form->findChild<QToolButton *>(QStringLiteral("printButton")), Qt::LeftButton);

    const QStringList pages = pdfPages(pdf);
    QVERIFY2(pages.size() >= 3, qPrintable(pages.join(QLatin1String("\n---\n"))));
    QCOMPARE(pages.size(), form->findChild<PrintPreview *>(QStringLiteral("vp"))->pageCount());
    QStringList bodyLines;
    for (int p = 0; p < pages.size(); ++p) {
        QStringList lines = pages[p].split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        while (!lines.isEmpty() && lines.constLast().trimmed().isEmpty())
            lines.removeLast();
        QVERIFY(lines.size() >= 2);
        // The head runs first on the page, the foot last.
        const QString head = lines.takeFirst().simplified();
        const QString foot = lines.takeLast().simplified();
        QCOMPARE(head, Head + QLatin1String(" Page ") + QString::number(p + 1));
        QCOMPARE(foot, today() + QLatin1Char(' ') + m_printFile);
        for (const QString &line : std::as_const(lines))
            if (!line.trimmed().isEmpty())
                bodyLines << line.trimmed();
    }
    QStringList expected;
    for (int i = 1; i <= 150; ++i)
        expected << QStringLiteral("Registrant record line %1").arg(i, 3, 10, QLatin1Char('0'));
    QCOMPARE(bodyLines, expected);
}

void TestForm2::webPageReplyPrintsRunningLinesOnly()
{
    auto form = open("<HTML><body>Registrant secret</body></html>\r\n");

    const QStringList pages = printedPages(*form, QStringLiteral("web.pdf"));
    QCOMPARE(pages.size(), 1);
    QStringList lines = nonBlankLines(pages[0]);
    QCOMPARE(lines.size(), 2);
    QCOMPARE(lines[0].simplified(), Head + QLatin1String(" Page 1"));
    QCOMPARE(lines[1].simplified(), today() + QLatin1Char(' ') + m_printFile);
}

void TestForm2::longLinesWrapInsteadOfBeingCut()
{
    // One line of numbered words, longer than is laid out at once, and one
    // long run with no space at all.
    constexpr int Words = 1500;
    QStringList words;
    for (int i = 1; i <= Words; ++i)
        words << QStringLiteral("w%1").arg(i, 4, 10, QLatin1Char('0'));
    const QString spaced = words.join(QLatin1Char(' '));
    const QString solid = QString(300, QLatin1Char('x'));
    auto form = open(TextFileForm::encode(spaced + QLatin1String("\r\n") + solid));

    const QStringList pages = printedPages(*form, QStringLiteral("long.pdf"));
    QVERIFY(pages.size() > 1);
    QString text;
    for (const QString &page : pages) {
        const QStringList lines = nonBlankLines(page);
        for (const QString &line : lines.mid(1, lines.size() - 2))
            text += line.trimmed() + QLatin1Char(' ');
    }
    QCOMPARE(text.simplified().section(QLatin1Char(' '), 0, Words - 1), spaced);
    QCOMPARE(QString(text.simplified().section(QLatin1Char(' '), Words)).remove(QLatin1Char(' ')), solid);
}

void TestForm2::eightyColumnLineStaysOnOneLine_data()
{
    QTest::addColumn<QPageSize::PageSizeId>("paper");
    QTest::newRow("A4") << QPageSize::A4;
    QTest::newRow("Letter") << QPageSize::Letter;
}

void TestForm2::eightyColumnLineStaysOnOneLine()
{
    QFETCH(QPageSize::PageSizeId, paper);
    const QString line = QStringLiteral("Registrar Abuse Contact Email: abuse-desk@registrar.example   WWWWWWWWWWWWWWWW80");
    QCOMPARE(line.size(), 80);
    auto form = open(TextFileForm::encode(line + QLatin1String("\r\n")));
    const QString pdf = m_dir->filePath(QStringLiteral("eighty.pdf"));
    printToPdf(pdf, paper);
    form->findChild<QAction *>(QStringLiteral("print"))->trigger();

    const QStringList pages = pdfPages(pdf);
    QCOMPARE(pages.size(), 1);
    const QStringList lines = nonBlankLines(pages[0]);
    QCOMPARE(lines.size(), 3);
    QCOMPARE(lines[1].simplified(), line.simplified());
}

void TestForm2::tabsLineUpInColumns()
{
    auto form = open("Name:\tvalue\r\nab\tc\r\n");

    const QStringList pages = printedPages(*form, QStringLiteral("tabs.pdf"));
    QCOMPARE(pages.size(), 1);
    QStringList lines = pages[0].split(QLatin1Char('\n'));
    const auto column = [&](const QString &start, const QString &after) {
        for (const QString &line : std::as_const(lines))
            if (line.trimmed().startsWith(start))
                return line.indexOf(after);
        return qsizetype(-1);
    };
    // Both values start at the same tab stop, on the line they began.
    const qsizetype value = column(QStringLiteral("Name:"), QStringLiteral("value"));
    QVERIFY2(value > column(QStringLiteral("Name:"), QStringLiteral("Name:")) + 5, qPrintable(pages[0]));
    QCOMPARE(column(QStringLiteral("ab"), QStringLiteral("c")), value);
}

void TestForm2::pathStaysWholeAndLiteralInTheFoot_data()
{
    QTest::addColumn<QString>("folder");
    QString deep;
    for (int i = 0; i < 12; ++i)
        deep += QStringLiteral("/folder-%1-with-a-long-name").arg(i);
    QTest::newRow("long path") << deep;
    QTest::newRow("percent sign") << QStringLiteral("/100%done/%d");
}

void TestForm2::pathStaysWholeAndLiteralInTheFoot()
{
    QFETCH(QString, folder);
    const QString dir = m_dir->path() + folder;
    QVERIFY(QDir().mkpath(dir));
    m_printFile = dir + QLatin1String("/Tempfile.txt");
    auto form = open("reply\r\n");

    const QStringList pages = printedPages(*form, QStringLiteral("foot.pdf"));
    QCOMPARE(pages.size(), 1);
    QStringList lines = nonBlankLines(pages[0]);
    // Date first, then the whole path as it stands, with nothing printed
    // over either.
    const QString foot = lines.constLast().simplified();
    QVERIFY2(foot.startsWith(today() + QLatin1Char(' ')), qPrintable(foot));
    QCOMPARE(QString(foot.mid(today().size())).remove(QLatin1Char(' ')), m_printFile);
    QCOMPARE(lines.constFirst().simplified(), Head + QLatin1String(" Page 1"));
}

void TestForm2::closingLineBreakOpensNoNewPage()
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setPageSize(QPageSize(QPageSize::A4));
    PrintDocument document;
    document.bodyFont = QFont(QStringLiteral("Courier New"));
    document.bodyFont.setPointSizeF(14.25);

    // Find the most lines one page holds.
    QString full;
    int lines = 0;
    for (document.body = QStringLiteral("1"); document.pageCount(&printer) == 1; ++lines) {
        full = document.body;
        document.body += QStringLiteral("\r\n") + QString::number(lines + 2);
    }
    QVERIFY(lines > 10);
    QCOMPARE(document.pageCount(&printer), 2);

    document.body = full + QStringLiteral("\r\n");
    QCOMPARE(document.pageCount(&printer), 1);
    // A blank line after it is a line of its own.
    document.body = full + QStringLiteral("\r\n\r\n");
    QCOMPARE(document.pageCount(&printer), 2);
}

void TestForm2::cancelLeavesNoOutput_data()
{
    QTest::addColumn<QString>("target");
    QTest::addColumn<QByteArray>("before");
    QTest::newRow("new file") << QStringLiteral("cancelled.pdf") << QByteArray();
    QTest::newRow("earlier file") << QStringLiteral("cancelled.pdf") << QByteArray("%PDF-1.4 an earlier print");
    QTest::newRow("print queue") << QString() << QByteArray();
}

void TestForm2::cancelLeavesNoOutput()
{
    QFETCH(QString, target);
    QFETCH(QByteArray, before);
    QByteArray reply;
    for (int i = 1; i <= 200; ++i)
        reply += "line " + QByteArray::number(i) + "\r\n";
    auto form = open(reply);
    auto *vp = form->findChild<PrintPreview *>(QStringLiteral("vp"));
    QVERIFY(vp->pageCount() >= 3);
    int submitted = 0;
    vp->setQueueSubmitter([&](const PrintQueue::Job &) {
        ++submitted;
        return QString();
    });

    const QString pdf = target.isEmpty() ? QString() : m_dir->filePath(target);
    if (!before.isEmpty()) {
        QFile file(pdf);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(before);
    }
    // Without a file the print goes to the queue; the PDF writer stands in
    // for a queue's printer, which paints the same PDF.
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    if (!pdf.isEmpty())
        printer.setOutputFileName(pdf);
    printer.setPageSize(QPageSize(QPageSize::A4));

    // The box shows while the first page prints; Cancel there ends the
    // print with nothing written where the user chose.
    QString title;
    QString label;
    QString cancel;
    QTimer::singleShot(0, this, [&] {
        auto *progress = vp->findChild<QProgressDialog *>();
        QVERIFY(progress);
        title = progress->windowTitle();
        label = progress->labelText();
        auto *button = progress->findChild<QPushButton *>();
        QVERIFY(button);
        cancel = button->text();
        QTest::mouseClick(button, Qt::LeftButton);
    });
    QVERIFY(!vp->printPages(&printer));

    QCOMPARE(title, QStringLiteral("Printing..."));
    QCOMPARE(label, QStringLiteral("Now printing Page 1 of\nHoldrin\non the PDF writer on ")
                        + (pdf.isEmpty() ? QStringLiteral("print queue") : pdf));
    QCOMPARE(cancel, QStringLiteral("Cancel"));
    QCOMPARE(submitted, 0);
    if (!pdf.isEmpty())
        QCOMPARE(QFile::exists(pdf), !before.isEmpty());
    if (!before.isEmpty()) {
        QFile file(pdf);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), before);
    }
    // Nor is anything left beside it or in the temporary folder.
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files | QDir::Hidden).size(), before.isEmpty() ? 1 : 2);
    QCOMPARE(printer.outputFileName(), pdf);
}

void TestForm2::queuePrintIsSentOnceWhole_data()
{
    QTest::addColumn<QString>("refusal");
    QTest::newRow("taken") << QString();
    QTest::newRow("refused") << QStringLiteral("the queue is not accepting jobs");
}

void TestForm2::queuePrintIsSentOnceWhole()
{
    QFETCH(QString, refusal);
    MessageBox::setPresetAnswer(true);
    QByteArray reply;
    for (int i = 1; i <= 150; ++i)
        reply += "line " + QByteArray::number(i) + "\r\n";
    auto form = open(reply);
    auto *vp = form->findChild<PrintPreview *>(QStringLiteral("vp"));
    const QString sent = m_dir->filePath(QStringLiteral("sent.pdf"));
    QList<PrintQueue::Job> jobs;
    QFile::Permissions staged;
    vp->setQueueSubmitter([&](const PrintQueue::Job &job) {
        jobs << job;
        staged = QFile::permissions(job.file);
        QFile::copy(job.file, sent);
        return refusal;
    });
    // Without a file the print goes to the queue; the PDF writer stands in
    // for a queue's printer, which paints the same PDF.
    QString queue;
    PrintPreview::setPrintDialogHook([&](QPrinter *printer, QWidget *) {
        printer->setOutputFormat(QPrinter::PdfFormat);
        queue = printer->printerName();
        return true;
    });
    form->findChild<QAction *>(QStringLiteral("print"))->trigger();

    QCOMPARE(jobs.size(), 1);
    QCOMPARE(jobs[0].printer, queue);
    QCOMPARE(jobs[0].title, QStringLiteral("Holdrin"));
    // The reply is the user's alone while it waits in the temporary folder.
    QCOMPARE(staged & (QFile::ReadGroup | QFile::ReadOther), QFile::Permissions());
    const QStringList pages = pdfPages(sent);
    QVERIFY(pages.size() >= 3);
    QCOMPARE(pages.size(), vp->pageCount());
    for (int p = 0; p < pages.size(); ++p)
        QCOMPARE(nonBlankLines(pages[p]).constFirst().simplified(), Head + QLatin1String(" Page ") + QString::number(p + 1));
    QVERIFY(pages.constLast().contains(QLatin1String("line 150")));
    // The staged pages are gone once the queue has them, or has refused them.
    QStringList left = QDir(m_dir->path()).entryList(QDir::Files | QDir::Hidden);
    left.sort();
    QCOMPARE(left, QStringList({QStringLiteral("Tempfile.txt"), QStringLiteral("sent.pdf")}));
    QCOMPARE(vp->printer()->outputFileName(), QString());

    const auto shown = MessageBox::takeShown();
    QCOMPARE(shown.size(), refusal.isEmpty() ? 0 : 1);
    if (!refusal.isEmpty()) {
        QCOMPARE(shown[0].icon, MessageBox::Icon::Critical);
        QCOMPARE(shown[0].prompt, QLatin1String("The pages could not be printed to ") + queue + QLatin1String(": ") + refusal);
    }
    QVERIFY(form->isVisible());
}

void TestForm2::queueIsToldWhatThePagesDoNotCarry_data()
{
    QTest::addColumn<QPageSize::PageSizeId>("paper");
    QTest::addColumn<bool>("portrait");
    QTest::addColumn<int>("copies");
    QTest::addColumn<bool>("collate");
    QTest::addColumn<QPrinter::DuplexMode>("duplex");
    QTest::addColumn<QStringList>("chosen");
    QTest::addColumn<QString>("options");
    const QPrinter::DuplexMode none = QPrinter::DuplexNone;
    QTest::newRow("one copy") << QPageSize::A4 << false << 1 << true << none << QStringList()
                              << QStringLiteral("media=A4 sides=one-sided");
    QTest::newRow("portrait Letter") << QPageSize::Letter << true << 1 << true << none << QStringList()
                                     << QStringLiteral("media=Letter sides=one-sided");
    QTest::newRow("collated copies") << QPageSize::A4 << false << 3 << true << none << QStringList()
                                     << QStringLiteral("media=A4 copies=3 Collate=True sides=one-sided");
    QTest::newRow("uncollated copies") << QPageSize::A4 << false << 2 << false << none << QStringList()
                                       << QStringLiteral("media=A4 copies=2 sides=one-sided");
    QTest::newRow("long side") << QPageSize::A4 << false << 1 << true << QPrinter::DuplexLongSide << QStringList()
                               << QStringLiteral("media=A4 sides=two-sided-long-edge");
    QTest::newRow("short side") << QPageSize::A4 << true << 1 << true << QPrinter::DuplexShortSide << QStringList()
                                << QStringLiteral("media=A4 sides=two-sided-short-edge");
    QTest::newRow("either side, landscape") << QPageSize::A4 << false << 1 << true << QPrinter::DuplexAuto
                                            << QStringList()
                                            << QStringLiteral("media=A4 sides=two-sided-short-edge");
    QTest::newRow("either side, portrait") << QPageSize::A4 << true << 1 << true << QPrinter::DuplexAuto
                                           << QStringList() << QStringLiteral("media=A4 sides=two-sided-long-edge");
    QTest::newRow("chosen in the dialog")
        << QPageSize::A4 << true << 1 << true << none
        << QStringList({QStringLiteral("page-set"), QStringLiteral("odd"), QStringLiteral("number-up"),
                        QStringLiteral("2")})
        << QStringLiteral("media=A4 sides=one-sided page-set=odd number-up=2");
}

void TestForm2::queueIsToldWhatThePagesDoNotCarry()
{
    QFETCH(QPageSize::PageSizeId, paper);
    QFETCH(bool, portrait);
    QFETCH(int, copies);
    QFETCH(bool, collate);
    QFETCH(QPrinter::DuplexMode, duplex);
    QFETCH(QStringList, chosen);
    QFETCH(QString, options);
    const QPageLayout layout(QPageSize(paper), portrait ? QPageLayout::Portrait : QPageLayout::Landscape, QMarginsF());
    QStringList given;
    for (const auto &[name, value] : PrintQueue::options(layout, copies, collate, duplex, chosen))
        given << QString::fromUtf8(name + '=' + value);
    QCOMPARE(given.join(QLatin1Char(' ')), options);
}

void TestForm2::cancelledPrintDialogPrintsNothing()
{
    auto form = open("reply\r\n");
    const QString pdf = m_dir->filePath(QStringLiteral("never.pdf"));
    int asked = 0;
    PrintPreview::setPrintDialogHook([&](QPrinter *printer, QWidget *) {
        ++asked;
        printer->setOutputFormat(QPrinter::PdfFormat);
        printer->setOutputFileName(pdf);
        return false;
    });
    form->findChild<QAction *>(QStringLiteral("print"))->trigger();
    QCOMPARE(asked, 1);
    QVERIFY(!QFile::exists(pdf));
}

void TestForm2::unwritablePdfIsReported()
{
    MessageBox::setPresetAnswer(true);
    auto form = open("reply\r\n");
    const QString pdf = m_dir->filePath(QStringLiteral("no-such-folder/out.pdf"));
    printToPdf(pdf);
    form->findChild<QAction *>(QStringLiteral("print"))->trigger();

    const auto shown = MessageBox::takeShown();
    QCOMPARE(shown.size(), 1);
    QCOMPARE(shown[0].icon, MessageBox::Icon::Critical);
    QVERIFY2(shown[0].prompt.startsWith(QLatin1String("The pages could not be printed to ") + pdf + QLatin1String(": ")),
             qPrintable(shown[0].prompt));
    QVERIFY(form->isVisible());
}

void TestForm2::stagedPagesArePrivateAndUnseenUntilCommitted_data()
{
    QTest::addColumn<QString>("target");
    QTest::addColumn<int>("targetMode");
    QTest::addColumn<bool>("commit");
    // -1: no earlier file; 0666 less the user's mask is what a new one gets.
    QTest::newRow("new PDF") << QStringLiteral("new.pdf") << -1 << true;
    QTest::newRow("over a private PDF") << QStringLiteral("private.pdf") << 0600 << true;
    QTest::newRow("over a shared PDF") << QStringLiteral("shared.pdf") << 0644 << true;
    QTest::newRow("abandoned PDF") << QStringLiteral("abandoned.pdf") << -1 << false;
    QTest::newRow("abandoned queue job") << QString() << -1 << false;
}

void TestForm2::stagedPagesArePrivateAndUnseenUntilCommitted()
{
    QFETCH(QString, target);
    QFETCH(int, targetMode);
    QFETCH(bool, commit);
    const QString pdf = target.isEmpty() ? QString() : m_dir->filePath(target);
    if (targetMode >= 0) {
        QFile file(pdf);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("%PDF-1.4 an earlier print");
        file.close();
        QCOMPARE(::chmod(QFile::encodeName(pdf).constData(), mode_t(targetMode)), 0);
    }
    const QStringList before = QDir(m_dir->path()).entryList(QDir::Files | QDir::Hidden);
    const mode_t mask = ::umask(0);
    ::umask(mask);

    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdf);
    {
        StagedPrintFile stage(&printer, [](const PrintQueue::Job &) { return QString(); });
        QCOMPARE(stage.failure(), QString());
        // Owner-only before the first byte, and nowhere to be seen: a crash
        // from here on leaves nothing behind.
        struct stat staged {};
        QCOMPARE(::stat(QFile::encodeName(printer.outputFileName()).constData(), &staged), 0);
        QCOMPARE(staged.st_mode & 0777, mode_t(0600));
        QCOMPARE(staged.st_size, off_t(0));
        QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files | QDir::Hidden), before);
        if (commit) {
            QPainter painter(&printer);
            painter.drawText(100, 100, QStringLiteral("staged page"));
            painter.end();
            QCOMPARE(stage.commit(), QString());
        }
    }

    QCOMPARE(printer.outputFileName(), pdf);
    if (!commit) {
        QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files | QDir::Hidden), before);
        return;
    }
    QCOMPARE(pdfPages(pdf).value(0).trimmed(), QStringLiteral("staged page"));
    struct stat printed {};
    QCOMPARE(::stat(QFile::encodeName(pdf).constData(), &printed), 0);
    QCOMPARE(printed.st_mode & 0777, targetMode >= 0 ? mode_t(targetMode) : (0666 & ~mask));
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files | QDir::Hidden).size(), before.size() + (targetMode < 0 ? 1 : 0));
}

void TestForm2::pageRangeOfThePrintDialogIsPrinted_data()
{
    QTest::addColumn<int>("lines");
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("to");
    QTest::newRow("inside") << 200 << 2 << 3;
    QTest::newRow("running past the end") << 60 << 2 << 99;
    QTest::newRow("past the last page") << 60 << 50 << 70;
}

void TestForm2::pageRangeOfThePrintDialogIsPrinted()
{
    QFETCH(int, lines);
    QFETCH(int, from);
    QFETCH(int, to);
    MessageBox::setPresetAnswer(true);
    QByteArray reply;
    for (int i = 1; i <= lines; ++i)
        reply += "line " + QByteArray::number(i) + "\r\n";
    auto form = open(reply);
    const int pageCount = form->findChild<PrintPreview *>(QStringLiteral("vp"))->pageCount();
    QVERIFY(pageCount >= 3);
    const QString pdf = m_dir->filePath(QStringLiteral("range.pdf"));
    PrintPreview::setPrintDialogHook([&](QPrinter *printer, QWidget *) {
        printer->setOutputFormat(QPrinter::PdfFormat);
        printer->setOutputFileName(pdf);
        printer->setPrintRange(QPrinter::PageRange);
        printer->setFromTo(from, to);
        return true;
    });
    form->findChild<QAction *>(QStringLiteral("print"))->trigger();

    const auto shown = MessageBox::takeShown();
    if (from > pageCount) {
        QVERIFY(!QFile::exists(pdf));
        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown[0].prompt, QStringLiteral("Nothing was printed: the pages asked for, %1 to %2, lie past the last page, %3.")
                                      .arg(from).arg(to).arg(pageCount));
        return;
    }
    QVERIFY(shown.isEmpty());
    const QStringList pages = pdfPages(pdf);
    QCOMPARE(pages.size(), std::min(to, pageCount) - from + 1);
    for (int i = 0; i < pages.size(); ++i)
        QCOMPARE(nonBlankLines(pages[i]).constFirst().simplified(), Head + QLatin1String(" Page ") + QString::number(from + i));
}

void TestForm2::previewFollowsAPaperChangeMadeInThePrintDialog_data()
{
    QTest::addColumn<QPageSize>("paper");
    QTest::addColumn<bool>("portrait");
    QTest::addColumn<bool>("otherPages");
    QTest::newRow("same paper") << QPageSize(QPageSize::A4) << false << false;
    QTest::newRow("smaller paper") << QPageSize(QPageSize::A5) << false << true;
    QTest::newRow("paper turned") << QPageSize(QPageSize::A4) << true << true;
}

void TestForm2::previewFollowsAPaperChangeMadeInThePrintDialog()
{
    QFETCH(QPageSize, paper);
    QFETCH(bool, portrait);
    QFETCH(bool, otherPages);
    QByteArray reply;
    for (int i = 1; i <= 100; ++i)
        reply += "line " + QByteArray::number(i) + "\r\n";
    auto form = open(reply);
    auto *vp = form->findChild<PrintPreview *>(QStringLiteral("vp"));
    auto *print = form->findChild<QAction *>(QStringLiteral("print"));
    const QString pdf = m_dir->filePath(QStringLiteral("paper.pdf"));
    // A first print on A4 makes the window's printer the PDF writer, so
    // that only the paper differs on the second.
    printToPdf(pdf);
    print->trigger();
    const int pagesBefore = vp->pageCount();
    QVERIFY(pagesBefore > 1);

    PrintPreview::setPrintDialogHook([&](QPrinter *printer, QWidget *) {
        printer->setOutputFileName(pdf);
        printer->setPageSize(paper);
        printer->setPageOrientation(portrait ? QPageLayout::Portrait : QPageLayout::Landscape);
        return true;
    });
    print->trigger();

    QCOMPARE(vp->pageCount(), pdfPages(pdf).size());
    QCOMPARE(vp->pageCount() != pagesBefore, otherPages);
}

HOLDRIN_TEST_MAIN(TestForm2)
#include "tst_form2.moc"
