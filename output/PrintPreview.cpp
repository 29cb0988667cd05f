#include "output/PrintPreview.h"

#include <QAction>
#include <QActionGroup>
#include <QCoreApplication>
#include <QDir>
#include <QPrintDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QProgressDialog>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace {
PrintPreview::PrintDialogHook s_printDialogHook;
} // namespace

PrintPreview::PrintPreview(QWidget *parent)
    : QWidget(parent)
    , m_printer(std::make_unique<QPrinter>(QPrinter::HighResolution))
{
    // A fixed page size, so the page count does not hang on the locale.
    m_printer->setPageSize(QPageSize(QPageSize::A4));
    m_printer->setPageMargins(QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    m_toolBar = new QToolBar(this);
    m_toolBar->setObjectName(QStringLiteral("toolBar"));
    layout->addWidget(m_toolBar);
    m_view = new QPrintPreviewWidget(m_printer.get(), this);
    m_view->setObjectName(QStringLiteral("pages"));
    layout->addWidget(m_view, 1);
    connect(m_view, &QPrintPreviewWidget::paintRequested, this, [this](QPrinter *printer) {
        m_document.print(printer);
    });
    createToolBar();
}

PrintPreview::~PrintPreview() = default;

void PrintPreview::createToolBar()
{
    m_toolBar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    m_zoom = new QActionGroup(this);
    const struct {
        const char *text;
        const char *name;
        QPrintPreviewWidget::ViewMode view;
        QPrintPreviewWidget::ZoomMode zoom;
    } choices[] = {
        {"Whole &Page", "wholePage", QPrintPreviewWidget::SinglePageView, QPrintPreviewWidget::FitInView},
        {"Page &Width", "pageWidth", QPrintPreviewWidget::SinglePageView, QPrintPreviewWidget::FitToWidth},
        {"&Two Pages", "twoPages", QPrintPreviewWidget::FacingPagesView, QPrintPreviewWidget::FitInView},
        {"Thumb&nail", "thumbnail", QPrintPreviewWidget::AllPagesView, QPrintPreviewWidget::FitInView},
    };
    for (const auto &choice : choices) {
        QAction *action = m_toolBar->addAction(tr(choice.text));
        action->setObjectName(QLatin1String(choice.name));
        action->setCheckable(true);
        m_zoom->addAction(action);
        const auto view = choice.view;
        const auto zoom = choice.zoom;
        connect(action, &QAction::triggered, this, [this, view, zoom] {
            m_view->setViewMode(view);
            m_view->setZoomMode(zoom);
        });
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
    m_view->updatePreview();
}

int PrintPreview::pageCount() const
{
    return m_document.pageCount(m_printer.get());
}

QPrinter *PrintPreview::printer() const
{
    return m_printer.get();
}

void PrintPreview::printWithDialog()
{
    const QPageLayout pageLayout = m_printer->pageLayout();
    const int resolution = m_printer->resolution();
    bool accepted = false;
    if (s_printDialogHook) {
        accepted = s_printDialogHook(m_printer.get(), this);
    } else {
        QPrintDialog dialog(m_printer.get(), this);
        accepted = dialog.exec() == QDialog::Accepted;
    }
    if (!accepted)
        return;
    printPages(m_printer.get());
    // The dialog may have changed the paper or the printer; the preview
    // follows. Only then, since laying out every page again takes as long
    // as opening the window did.
    if (!m_printer->pageLayout().isEquivalentTo(pageLayout) || m_printer->resolution() != resolution)
        m_view->updatePreview();
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

    const bool done = m_document.print(printer, [&](int page, int count) {
        progress.setMaximum(count);
        progress.setLabelText(progressText(printer, page));
        progress.setValue(page - 1);
        // Lets a click on Cancel land before the next page starts.
        QCoreApplication::processEvents();
        return !progress.wasCanceled();
    });
    if (done)
        progress.setValue(progress.maximum());
    else
        printer->abort();
    return done;
}

QString PrintPreview::progressText(QPrinter *printer, int page) const
{
    QString device = printer->printerName();
    if (device.isEmpty())
        device = printer->outputFormat() == QPrinter::PdfFormat ? tr("PDF writer") : tr("printer");
    const QString place = printer->outputFileName().isEmpty()
                              ? tr("print queue")
                              : QDir::toNativeSeparators(printer->outputFileName());
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
