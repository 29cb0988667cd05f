#pragma once

#include "output/PrintDocument.h"

#include <QWidget>

#include <functional>
#include <memory>

class QActionGroup;
class QPrintPreviewWidget;
class QPrinter;
class QToolBar;

// The print window's preview: shows the document as pages, offers four
// zoom choices and a printer button, and prints page by page behind a
// progress box that can be cancelled between pages.
class PrintPreview : public QWidget
{
    Q_OBJECT

public:
    explicit PrintPreview(QWidget *parent = nullptr);
    ~PrintPreview() override;

    // The name text: the document's title and the print job's name.
    void setDocName(const QString &name);
    QString docName() const;
    void setHeader(const QString &line);
    QString header() const;
    void setFooter(const QString &line);
    QString footer() const;
    void setPageBorder(int border);
    int pageBorder() const;
    void setBodyFont(const QFont &font);
    void setRunningLineFont(const QFont &font);

    // startDoc() opens an empty document, setText() gives it its body and
    // endDoc() lays it out and shows its pages.
    void startDoc();
    void setText(const QString &text);
    QString text() const;
    void endDoc();

    int pageCount() const;
    QPrinter *printer() const;

    // What the printer button does: the print dialog, then the pages.
    void printWithDialog();
    // Prints every page to the given printer behind the progress box.
    // Returns false when the user cancelled.
    bool printPages(QPrinter *printer);

    // Stands in for the system print dialog: given the printer to set up,
    // returns whether to print. Tests use it to print to PDF.
    using PrintDialogHook = std::function<bool(QPrinter *printer, QWidget *parent)>;
    static void setPrintDialogHook(PrintDialogHook hook);

private:
    void createToolBar();
    QString progressText(QPrinter *printer, int page) const;

    std::unique_ptr<QPrinter> m_printer;
    PrintDocument m_document;
    QToolBar *m_toolBar;
    QActionGroup *m_zoom;
    QPrintPreviewWidget *m_view;
};
