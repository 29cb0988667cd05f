// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Marrowby Industries

#include "output/Pagination.h"

#include "output/PrintDocument.h"
#include "output/RunningLine.h"

#include <QElapsedTimer>
#include <QFontMetricsF>
#include <QPainter>
#include <QPrinter>
#include <QTextLayout>

#include <algorithm>

namespace {
// The most characters laid out at once. A reply may be one line of many
// megabytes; it is laid out a stretch at a time, each stretch starting
// where a printed line starts, so the lines come out as if laid out whole.
constexpr qsizetype Stretch = 4096;

// A line measured by its characters' advances is taken to fit only with
// this much room to spare, so that the laid-out line surely fits too.
constexpr qreal FitMargin = 0.98;

bool isBreak(QChar c)
{
    return c == QLatin1Char('\n') || c == QLatin1Char('\r');
}

// Tab stops every eight columns, as on a terminal, so the fixed-pitch body
// keeps a reply's columns whatever the printer's resolution.
QString expandTabs(const QString &text)
{
    if (!text.contains(QLatin1Char('\t')))
        return text;
    QString expanded;
    expanded.reserve(text.size() + text.size() / 8);
    qsizetype column = 0;
    for (const QChar c : text) {
        if (c == QLatin1Char('\t')) {
            const qsizetype spaces = 8 - column % 8;
            expanded.append(QString(spaces, QLatin1Char(' ')));
            column += spaces;
        } else {
            expanded.append(c);
            column = isBreak(c) ? 0 : column + 1;
        }
    }
    return expanded;
}

qreal naturalWidth(const QString &text, const QFont &font, QPaintDevice *device, qreal *height = nullptr)
{
    QTextLayout layout(text, font, device);
    layout.beginLayout();
    QTextLine line = layout.createLine();
    layout.endLayout();
    if (height)
        *height = line.height();
    return layout.lineCount() == 1 ? line.naturalTextWidth() : 0;
}
} // namespace

Pagination::Pagination(const PrintDocument &document, QPrinter *printer)
    : m_document(document)
    , m_device(printer)
    , m_pageLayout(printer->pageLayout())
    , m_resolution(printer->resolution())
    , m_paper(m_pageLayout.fullRectPixels(m_resolution))
    , m_printable(m_pageLayout.paintRectPixels(m_resolution))
    , m_page(QPointF(0, 0), m_printable.size())
    , m_text(expandTabs(document.body))
{
    m_runningLineHeight = QFontMetricsF(document.runningLineFont, printer).height();
    const qreal gap = m_runningLineHeight / 2;
    m_body = m_page.adjusted(0, m_runningLineHeight + gap, 0, -(m_runningLineHeight + gap));
    m_option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);

    // Most reply lines are short ASCII: in a fixed-pitch font their width
    // is their length times one advance, which spares shaping them just to
    // find that they fit.
    constexpr int Sample = 95;
    QString ascii;
    for (int c = 0x20; c < 0x20 + Sample; ++c)
        ascii += QChar(c);
    const qreal uniform = naturalWidth(QString(Sample, QLatin1Char('M')), document.bodyFont, printer, &m_lineHeight);
    const qreal mixed = naturalWidth(ascii, document.bodyFont, printer);
    if (uniform > 0 && qAbs(mixed - uniform) < uniform / 1000)
        m_charWidth = std::max(uniform, mixed) / Sample;

    m_pageStarts.push_back(0);
    m_complete = m_text.isEmpty();
}

bool Pagination::matches(QPrinter *printer) const
{
    return printer->resolution() == m_resolution && printer->pageLayout().isEquivalentTo(m_pageLayout);
}

// A line break ends a paragraph; the break after the last one opens no new one.
qsizetype Pagination::paragraphEnd(qsizetype from) const
{
    // A long paragraph is walked a stretch at a time; its end is found once.
    if (from >= m_paragraph.first && from <= m_paragraph.second)
        return m_paragraph.second;
    const QChar *begin = m_text.constData();
    const qsizetype end = std::find_if(begin + from, begin + m_text.size(), isBreak) - begin;
    m_paragraph = {from, end};
    return end;
}

qsizetype Pagination::afterBreak(qsizetype end) const
{
    if (end >= m_text.size())
        return end;
    if (m_text.at(end) == QLatin1Char('\r') && end + 1 < m_text.size() && m_text.at(end + 1) == QLatin1Char('\n'))
        return end + 2;
    return end + 1;
}

bool Pagination::fitsOnOneLine(qsizetype from, qsizetype end) const
{
    if (m_charWidth <= 0 || qreal(end - from) * m_charWidth > m_body.width() * FitMargin)
        return false;
    const QChar *begin = m_text.constData();
    return std::all_of(begin + from, begin + end, [](QChar c) { return c.unicode() >= 0x20 && c.unicode() < 0x7f; });
}

// Hands visit the printed lines from the line starting at from, in order,
// until it returns false or the text ends. Without withTextLines, lines
// that surely fit are measured without being laid out.
template<typename Visit>
void Pagination::walk(qsizetype from, bool withTextLines, Visit &&visit) const
{
    qsizetype offset = from;
    while (offset < m_text.size()) {
        const qsizetype end = paragraphEnd(offset);
        const qsizetype after = afterBreak(end);
        if (!withTextLines && fitsOnOneLine(offset, end)) {
            if (!visit(Line{offset, after, m_lineHeight, nullptr}))
                return;
            offset = after;
            continue;
        }

        const qsizetype stretchEnd = std::min(end, offset + Stretch);
        QTextLayout layout(m_text.mid(offset, stretchEnd - offset), m_document.bodyFont, m_device);
        layout.setTextOption(m_option);
        layout.beginLayout();
        for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine())
            line.setLineWidth(m_body.width());
        layout.endLayout();

        // A stretch cut short of its paragraph's end leaves its last line to
        // the next stretch, which starts there.
        const int lines = layout.lineCount();
        const int whole = stretchEnd < end && lines > 1 ? lines - 1 : lines;
        qsizetype next = offset;
        for (int i = 0; i < whole; ++i) {
            const QTextLine line = layout.lineAt(i);
            const qsizetype start = offset + line.textStart();
            const qsizetype lineEnd = start + line.textLength();
            next = lineEnd >= end ? after : lineEnd;
            if (!visit(Line{start, next, line.height(), &line}))
                return;
        }
        offset = whole < lines ? offset + layout.lineAt(whole).textStart() : next;
    }
}

void Pagination::place(const Line &line)
{
    if (m_y + line.height > m_body.height() && m_y > 0) {
        m_pageStarts.push_back(line.start);
        m_y = 0;
    }
    m_y += line.height;
    m_offset = line.next;
    m_complete = m_offset >= m_text.size();
}

void Pagination::paginate(int pages)
{
    if (m_complete || pageCount() >= pages)
        return;
    walk(m_offset, false, [&](const Line &line) {
        place(line);
        return pageCount() < pages;
    });
}

bool Pagination::paginateFor(std::chrono::milliseconds budget)
{
    if (m_complete)
        return true;
    QElapsedTimer timer;
    timer.start();
    walk(m_offset, false, [&](const Line &line) {
        place(line);
        return !timer.hasExpired(budget.count());
    });
    return m_complete;
}

void Pagination::paintPage(QPainter &painter, int page) const
{
    painter.setPen(Qt::black);
    paintRunningLine(painter, m_document.header, page, m_page.top());
    paintRunningLine(painter, m_document.footer, 0, m_page.bottom() - m_runningLineHeight);

    const qreal pen = m_runningLineHeight / 20;
    painter.setPen(QPen(Qt::black, pen));
    const qreal headRule = m_page.top() + m_runningLineHeight * 1.2;
    const qreal footRule = m_page.bottom() - m_runningLineHeight * 1.2;
    if (m_document.border & PrintDocument::RuleUnderHead)
        painter.drawLine(QPointF(m_page.left(), headRule), QPointF(m_page.right(), headRule));
    if (m_document.border & PrintDocument::RuleOverFoot)
        painter.drawLine(QPointF(m_page.left(), footRule), QPointF(m_page.right(), footRule));
    // The frame stands a little outside the running lines, in the margin.
    const qreal outset = m_runningLineHeight / 4;
    if (m_document.border & PrintDocument::Frame)
        painter.drawRect(m_page.adjusted(-outset, -outset, outset, outset));

    painter.setPen(Qt::black);
    qreal y = 0;
    walk(m_pageStarts[size_t(page - 1)], true, [&](const Line &line) {
        if (y + line.height > m_body.height() && y > 0)
            return false;
        line.textLine->draw(&painter, QPointF(m_body.left(), m_body.top() + y - line.textLine->y()));
        y += line.height;
        return true;
    });
}

// page is 0 for the line with the print file's path, which is printed as
// it stands.
void Pagination::paintRunningLine(QPainter &painter, const QString &line, int page, qreal top) const
{
    const RunningLine::Zones zones = page > 0 ? RunningLine::format(line, page) : RunningLine::split(line);
    const QRectF band(m_page.left(), top, m_page.width(), m_runningLineHeight);

    // Zones too wide to sit side by side, such as a long path, are set in a
    // smaller size rather than printed over one another.
    QFont font = m_document.runningLineFont;
    const QFontMetricsF metrics(font, m_device);
    const qreal gap = metrics.horizontalAdvance(QLatin1Char(' ')) * 2;
    const qreal left = metrics.horizontalAdvance(zones.left);
    const qreal right = metrics.horizontalAdvance(zones.right);
    const qreal needed = zones.centre.isEmpty()
                             ? left + gap + right
                             : 2 * (std::max(left, right) + gap) + metrics.horizontalAdvance(zones.centre);
    // Text widths do not shrink quite in step with the point size, so the
    // smaller size keeps a little room to spare.
    constexpr qreal Spare = 0.97;
    if (needed > band.width())
        font.setPointSizeF(font.pointSizeF() * Spare * band.width() / needed);

    // Laid out for the printer, so that the text keeps the printer's
    // measure on the screen's page images and in recorded pages alike.
    const auto draw = [&](const QString &text, Qt::Alignment alignment) {
        if (text.isEmpty())
            return;
        QTextLayout layout(text, font, m_device);
        layout.beginLayout();
        QTextLine line = layout.createLine();
        layout.endLayout();
        const qreal width = line.naturalTextWidth();
        qreal x = band.left();
        if (alignment & Qt::AlignRight)
            x = band.right() - width;
        else if (alignment & Qt::AlignHCenter)
            x = band.center().x() - width / 2;
        layout.draw(&painter, QPointF(x, band.top() + (band.height() - line.height()) / 2));
    };
    draw(zones.left, Qt::AlignLeft);
    draw(zones.centre, Qt::AlignHCenter);
    draw(zones.right, Qt::AlignRight);
}
