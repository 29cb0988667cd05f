// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Marrowby Industries

#include "output/PrintPreview.h"

#include "output/PageView.h"
#include "output/Pagination.h"
#include "output/StagedPrintFile.h"
#include "ui/MessageBox.h"

#include <QAction>
#include <QActionGroup>
#include <QCoreApplication>
#include <QDir>
#include <QPrintDialog>
#include <QPrinter>
#include <QProgressDialog>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include <chrono>
#include <climits>

namespace {
PrintPreview::PrintDialogHook s_printDialogHook;

// How long each slice of finding further pages may keep the window busy.
constexpr std::chrono::milliseconds PaginationSlice(20);
} // namespace

PrintPreview::PrintPreview(QWidget *parent)
    : QWidget(parent)
    , m_printer(std::make_unique<QPrinter>(QPrinter::HighResolution))
{
    // A fixed page size, so the page count does not hang on the locale.
    // Across the sheet, an 80-column reply line in the fixed-pitch body
    // fits on one line, on A4 and on Letter alike.
    m_printer->setPageSize(QPageSize(QPageSize::A4));
    m_printer->setPageOrientation(QPageLayout::Landscape);
    m_printer->setPageMargins(QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    m_toolBar = new QToolBar(this);
    m_toolBar->setObjectName(QStringLiteral("toolBar"));
    layout->addWidget(m_toolBar);
    m_view = new PageView(this);
    m_view->setObjectName(QStringLiteral("pages"));
    layout->addWidget(m_view, 1);
    createToolBar();
    connect(&m_paginator, &QTimer::timeout, this, &PrintPreview::paginateSlice);
}

PrintPreview::~PrintPreview() = default;

void PrintPreview::createToolBar()
{
    m_toolBar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    m_zoom = new QActionGroup(this);
    const struct {
        const char *text;
        const char *name;
        PageView::Zoom zoom;
    } choices[] = {
        {"Whole &Page", "wholePage", PageView::Zoom::WholePage},
        {"Page &Width", "pageWidth", PageView::Zoom::PageWidth},
        {"&Two Pages", "twoPages", PageView::Zoom::TwoPages},
        {"Thumb&nail", "thumbnail", PageView::Zoom::Thumbnail},
    };
    for (const auto &choice : choices) {
        QAction *action = m_toolBar->addAction(tr(choice.text));
        action->setObjectName(QLatin1String(choice.name));
        // A tool button shows its action's icon text, which drops the "&";
        // given with it, the letter is underlined and Alt with it presses
        // the button.
        action->setIconText(action->text());
        action->setCheckable(true);
        m_zoom->addAction(action);
        const auto zoom = choice.zoom;
        connect(action, &QAction::triggered, this, [this, zoom] { m_view->setZoom(zoom); });
    }
    m_zoom->actions().constFirst()->setChecked(true);

    m_toolBar->addSeparator();
    QAction *print = m_toolBar->addAction(
        QIcon::fromTheme(QStringLiteral("document-print"), QIcon(QStringLiteral(":/printer-24.png"))),
        tr("&Print"));
    print->setObjectName(QStringLiteral("print"));
    print->setToolTip(tr("Print"));
    connect(print, &QAction::triggered, this, &PrintPreview::printWithDialog);
    // The hint under the preview points at this button's printer icon.
    if (auto *button = qobject_cast<QToolButton *>(m_toolBar->widgetForAction(print))) {
        button->setObjectName(QStringLiteral("printButton"));
        button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    }
}

void PrintPreview::setDocName(const QString &name)
{
    m_printer->setDocName(name);
}

QString PrintPreview::docName() const
{
    return m_printer->docName();
}

void PrintPreview::setHeader(const QString &line)
{
    m_document.header = line;
}

QString PrintPreview::header() const
{
    return m_document.header;
}

void PrintPreview::setFooter(const QString &line)
{
    m_document.footer = line;
}

QString PrintPreview::footer() const
{
    return m_document.footer;
}

void PrintPreview::setPageBorder(int border)
{
    m_document.border = border;
}

int PrintPreview::pageBorder() const
{
    return m_document.border;
}

void PrintPreview::setBodyFont(const QFont &font)
{
    m_document.bodyFont = font;
}

void PrintPreview::setRunningLineFont(const QFont &font)
{
    m_document.runningLineFont = font;
}

void PrintPreview::startDoc()
{
    m_document.body.clear();
}

void PrintPreview::setText(const QString &text)
{
    m_document.body = text;
}

QString PrintPreview::text() const
{
    return m_document.body;
}

void PrintPreview::endDoc()
{
    m_view->setPages(nullptr);
    m_pages = std::make_unique<Pagination>(m_document, m_printer.get());
    m_view->setPages(m_pages.get());
    m_paginator.start();
}

void PrintPreview::paginateSlice()
{
    if (m_pages->paginateFor(PaginationSlice))
        m_paginator.stop();
    m_view->pagesAdded();
}

int PrintPreview::pageCount() const
{
    m_pages->paginate(INT_MAX);
    return m_pages->pageCount();
}

const Pagination *PrintPreview::pages() const
{
    return m_pages.get();
}

QPrinter *PrintPreview::printer() const
{
    return m_printer.get();
}

void PrintPreview::printWithDialog()
{
    bool accepted = false;
    if (s_printDialogHook) {
        accepted = s_printDialogHook(m_printer.get(), this);
    } else {
        QPrintDialog dialog(m_printer.get(), this);
        // The page range offered is the document's once all its pages are
        // found; the dialog does not wait for them.
        if (m_pages->isComplete())
            dialog.setMinMax(1, m_pages->pageCount());
        accepted = dialog.exec() == QDialog::Accepted;
    }
    if (!accepted)
        return;
    printPages(m_printer.get());
    // The dialog may have changed the paper or the printer; the preview
    // follows.
    if (!m_pages->matches(m_printer.get()))
        endDoc();
}

bool PrintPreview::printPages(QPrinter *printer)
{
    if (printer->docName().isEmpty())
        printer->setDocName(docName());
    QProgressDialog progress(this);
    progress.setWindowTitle(tr("Printing..."));
    progress.setCancelButtonText(tr("Cancel"));
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(0);
    progress.setAutoClose(false);
    progress.setAutoReset(false);
    // Shown at once, so Cancel is there from the first page on.
    progress.show();

    // The pages on screen serve when they were broken for this paper.
    std::unique_ptr<Pagination> own;
    Pagination *pages = m_pages.get();
    if (!pages || !pages->matches(printer)) {
        own = std::make_unique<Pagination>(m_document, printer);
        pages = own.get();
    }

    // A range past the last page would otherwise end in an empty file or
    // job, or in a page that was not asked for.
    pages->paginate(INT_MAX);
    if (const auto [first, last] = PrintDocument::pageSpan(printer, pages->pageCount()); first > last) {
        progress.hide();
        MessageBox::show(this,
                         tr("Nothing was printed: the pages asked for, %1 to %2, lie past the last page, %3.")
                             .arg(printer->fromPage())
                             .arg(printer->toPage())
                             .arg(pages->pageCount()),
                         {}, MessageBox::Icon::Information);
        return false;
    }

    const QString chosenFile = printer->outputFileName();
    const auto showPage = [&](int page, int last) {
        progress.setMaximum(last);
        progress.setLabelText(progressText(printer, chosenFile, page));
        progress.setValue(page - 1);
        // Lets a click on Cancel land before the next page starts.
        QCoreApplication::processEvents();
        return !progress.wasCanceled();
    };
    // The pages are staged, so Cancel leaves the chosen file as it was and
    // sends no job: the toolkit's queue engine would send the pages painted
    // so far when the painter ends, and offers no way to withdraw them.
    StagedPrintFile stage(printer, m_submit);
    QString reason = stage.failure();
    if (reason.isEmpty()) {
        if (PrintDocument::print(*pages, printer, showPage))
            reason = stage.commit();
        else if (progress.wasCanceled())
            return false;
        else
            reason = tr("the printer could not be opened");
    }
    if (!reason.isEmpty()) {
        progress.hide();
        MessageBox::show(this,
                         tr("The pages could not be printed to %1: %2")
                             .arg(QDir::toNativeSeparators(chosenFile.isEmpty() ? printer->printerName() : chosenFile),
                                  reason),
                         {}, MessageBox::Icon::Critical);
        return false;
    }
    progress.setValue(progress.maximum());
    return true;
}

QString PrintPreview::progressText(QPrinter *printer, const QString &file, int page) const
{
    QString device = printer->printerName();
    if (device.isEmpty())
        device = printer->outputFormat() == QPrinter::PdfFormat ? tr("PDF writer") : tr("printer");
    const QString place = file.isEmpty() ? tr("print queue") : QDir::toNativeSeparators(file);
    QString onThe = tr("on the %s on %s");
    onThe.replace(onThe.indexOf(QLatin1String("%s")), 2, device);
    onThe.replace(onThe.lastIndexOf(QLatin1String("%s")), 2, place);
    return tr("Now printing Page %d of").replace(QLatin1String("%d"), QString::number(page)) + QLatin1Char('\n')
           + printer->docName() + QLatin1Char('\n') + onThe;
}

void PrintPreview::setPrintDialogHook(PrintDialogHook hook)
{
    s_printDialogHook = std::move(hook);
}

void PrintPreview::setQueueSubmitter(PrintQueue::Submitter submit)
{
    m_submit = std::move(submit);
}
