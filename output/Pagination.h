// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Marrowby Industries

#pragma once

#include <QPageLayout>
#include <QRectF>
#include <QString>
#include <QTextOption>

#include <chrono>
#include <utility>
#include <vector>

class PrintDocument;
class QPainter;
class QPrinter;
class QTextLine;

// Where a document's pages break for one printer's page set-up, found only
// as far as it is asked: a long reply's first page can be shown at once,
// and the rest found in slices while the window stays responsive. Only the
// first character of each page is kept; a page's lines are laid out again
// when it is painted.
class Pagination
{
public:
    Pagination(const PrintDocument &document, QPrinter *printer);

    // Whether the page set-up and resolution are those the pages were
    // broken for.
    bool matches(QPrinter *printer) const;

    // The pages found so far; the last may still be growing until the
    // whole document is paginated.
    int pageCount() const { return int(m_pageStarts.size()); }
    bool isComplete() const { return m_complete; }

    // Finds page breaks until at least pages pages are known, or to the end.
    void paginate(int pages);
    // Finds page breaks for about the given time; returns isComplete().
    bool paginateFor(std::chrono::milliseconds budget);

    // The sheet in the printer's pixels, and where on it the printable area
    // lies; paintPage() paints with the printable area's corner at (0, 0).
    QSizeF paperSize() const { return m_paper.size(); }
    QPointF printableOrigin() const { return m_printable.topLeft(); }
    // The printer's dots per inch, at which fonts are measured.
    int resolution() const { return m_resolution; }

    // page counts from 1 and must have been found.
    void paintPage(QPainter &painter, int page) const;

private:
    struct Line {
        qsizetype start;
        qsizetype next;
        qreal height;
        const QTextLine *textLine;
    };

    template<typename Visit>
    void walk(qsizetype from, bool withTextLines, Visit &&visit) const;
    qsizetype paragraphEnd(qsizetype from) const;
    qsizetype afterBreak(qsizetype end) const;
    bool fitsOnOneLine(qsizetype from, qsizetype end) const;
    void place(const Line &line);
    void paintRunningLine(QPainter &painter, const QString &line, int page, qreal top) const;

    const PrintDocument &m_document;
    QPrinter *m_device;
    QPageLayout m_pageLayout;
    int m_resolution;
    QRectF m_paper;
    QRectF m_printable;
    QRectF m_page;
    QRectF m_body;
    qreal m_runningLineHeight = 0;
    QTextOption m_option;
    QString m_text;
    // A fixed-pitch font's advance, when every printable ASCII character
    // has the same one; 0 otherwise.
    qreal m_charWidth = 0;
    qreal m_lineHeight = 0;
    // The last paragraph whose end was looked for: a start and its end.
    mutable std::pair<qsizetype, qsizetype> m_paragraph{-1, -1};

    std::vector<qsizetype> m_pageStarts;
    qsizetype m_offset = 0;
    qreal m_y = 0;
    bool m_complete = false;
};
