// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Marrowby Industries

#pragma once

#include "output/PrintDocument.h"
#include "output/PrintQueue.h"

#include <QTimer>
#include <QWidget>

#include <functional>
#include <memory>

class PageView;
class Pagination;
class QActionGroup;
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
    // endDoc() shows its first pages at once and finds the rest in slices
    // while the window stays responsive.
    void startDoc();
    void setText(const QString &text);
    QString text() const;
    void endDoc();

    // The page count, once every page is found.
    int pageCount() const;
    // The pages shown, as far as they are found.
    const Pagination *pages() const;
    QPrinter *printer() const;

    // What the printer button does: the print dialog, then the pages.
    void printWithDialog();
    // Prints every page to the given printer behind the progress box.
    // Returns false when the user cancelled or the pages could not be
    // written; either way nothing was printed.
    bool printPages(QPrinter *printer);

    // Stands in for the system print dialog: given the printer to set up,
    // returns whether to print. Tests use it to print to PDF.
    using PrintDialogHook = std::function<bool(QPrinter *printer, QWidget *parent)>;
    static void setPrintDialogHook(PrintDialogHook hook);

    // Where a print to a queue goes once every page is printed; by default
    // the system's print service. Tests take the job themselves.
    void setQueueSubmitter(PrintQueue::Submitter submit);

private:
    void createToolBar();
    void paginateSlice();
    QString progressText(QPrinter *printer, const QString &file, int page) const;

    std::unique_ptr<QPrinter> m_printer;
    PrintQueue::Submitter m_submit = PrintQueue::submit;
    PrintDocument m_document;
    std::unique_ptr<Pagination> m_pages;
    QTimer m_paginator;
    QToolBar *m_toolBar;
    QActionGroup *m_zoom;
    PageView *m_view;
};
