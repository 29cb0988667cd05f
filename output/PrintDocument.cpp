#include "output/PrintDocument.h"

#include "output/RunningLine.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPrinter>
#include <QRegularExpression>
#include <QTextLayout>

#include <algorithm>
#include <memory>
#include <vector>

namespace {
// Tab stops every eight columns, as on a terminal, so the fixed-pitch body
// keeps a reply's columns whatever the printer's resolution.
QString expandTabs(const QString &text)
{
    if (!text.contains(QLatin1Char('\t')))
        return text;
    QString expanded;
    for (const QChar c : text) {
        if (c == QLatin1Char('\t'))
            expanded += QString(8 - expanded.size() % 8, QLatin1Char(' '));
        else
            expanded += c;
    }
    return expanded;
}
} // namespace

// Line breaks and pages for one printer: fonts measure differently at each
// printer's resolution, so the layout is made afresh for every run.
class PrintDocument::Layout
{
public:
    Layout(const PrintDocument &document, QPrinter *printer);

    int pageCount() const { return int(m_pages.size()); }
    void paintPage(QPainter &painter, int page) const;

private:
    struct Line {
        const QTextLayout *paragraph;
        int index;
    };

    void paintRunningLine(QPainter &painter, const QString &line, int page, qreal top) const;

    const PrintDocument &m_document;
    QRectF m_page;
    QRectF m_body;
    qreal m_runningLineHeight = 0;
    std::vector<std::unique_ptr<QTextLayout>> m_paragraphs;
    std::vector<std::vector<Line>> m_pages;
};

PrintDocument::Layout::Layout(const PrintDocument &document, QPrinter *printer)
    : m_document(document)
    , m_page(QPointF(0, 0), printer->pageLayout().paintRectPixels(printer->resolution()).size())
{
    const QFontMetricsF running(document.runningLineFont, printer);
    m_runningLineHeight = running.height();
    const qreal gap = m_runningLineHeight / 2;
    m_body = m_page.adjusted(0, m_runningLineHeight + gap, 0, -(m_runningLineHeight + gap));

    // A line break ends a line; the break after the last line opens no new one.
    QStringList paragraphs = document.body.split(QRegularExpression(QStringLiteral("\r\n|\r|\n")));
    if (paragraphs.size() > 1 && paragraphs.constLast().isEmpty())
        paragraphs.removeLast();
    if (document.body.isEmpty())
        paragraphs.clear();

    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    m_pages.emplace_back();
    qreal y = 0;
    for (const QString &text : std::as_const(paragraphs)) {
        auto paragraph = std::make_unique<QTextLayout>(expandTabs(text), document.bodyFont, printer);
        paragraph->setTextOption(option);
        paragraph->beginLayout();
        for (QTextLine line = paragraph->createLine(); line.isValid(); line = paragraph->createLine())
            line.setLineWidth(m_body.width());
        paragraph->endLayout();

        for (int i = 0; i < paragraph->lineCount(); ++i) {
            const qreal height = paragraph->lineAt(i).height();
            if (y + height > m_body.height() && !m_pages.back().empty()) {
                m_pages.emplace_back();
                y = 0;
            }
            m_pages.back().push_back({paragraph.get(), i});
            y += height;
        }
        m_paragraphs.push_back(std::move(paragraph));
    }
}

void PrintDocument::Layout::paintPage(QPainter &painter, int page) const
{
    painter.setPen(Qt::black);
    paintRunningLine(painter, m_document.header, page, m_page.top());
    paintRunningLine(painter, m_document.footer, page, m_page.bottom() - m_runningLineHeight);

    const qreal pen = m_runningLineHeight / 20;
    painter.setPen(QPen(Qt::black, pen));
    const qreal headRule = m_page.top() + m_runningLineHeight * 1.2;
    const qreal footRule = m_page.bottom() - m_runningLineHeight * 1.2;
    if (m_document.border & RuleUnderHead)
        painter.drawLine(QPointF(m_page.left(), headRule), QPointF(m_page.right(), headRule));
    if (m_document.border & RuleOverFoot)
        painter.drawLine(QPointF(m_page.left(), footRule), QPointF(m_page.right(), footRule));
    // The frame stands a little outside the running lines, in the margin.
    const qreal outset = m_runningLineHeight / 4;
    if (m_document.border & Frame)
        painter.drawRect(m_page.adjusted(-outset, -outset, outset, outset));

    painter.setPen(Qt::black);
    qreal y = m_body.top();
    for (const Line &line : m_pages[size_t(page - 1)]) {
        const QTextLine textLine = line.paragraph->lineAt(line.index);
        textLine.draw(&painter, QPointF(m_body.left(), y - textLine.y()));
        y += textLine.height();
    }
}

void PrintDocument::Layout::paintRunningLine(QPainter &painter, const QString &line, int page, qreal top) const
{
    const RunningLine::Zones zones = RunningLine::format(line, page);
    const QRectF band(m_page.left(), top, m_page.width(), m_runningLineHeight);

    // Zones too wide to sit side by side, such as a long path, are set in a
    // smaller size rather than printed over one another.
    QFont font = m_document.runningLineFont;
    const QFontMetricsF metrics(font, painter.device());
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
    painter.setFont(font);
    painter.drawText(band, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, zones.left);
    painter.drawText(band, Qt::AlignHCenter | Qt::AlignVCenter | Qt::TextSingleLine, zones.centre);
    painter.drawText(band, Qt::AlignRight | Qt::AlignVCenter | Qt::TextSingleLine, zones.right);
}

int PrintDocument::pageCount(QPrinter *printer) const
{
    return Layout(*this, printer).pageCount();
}

bool PrintDocument::print(QPrinter *printer, const BeforePage &beforePage) const
{
    const Layout layout(*this, printer);
    QPainter painter(printer);
    for (int page = 1; page <= layout.pageCount(); ++page) {
        if (beforePage && !beforePage(page, layout.pageCount()))
            return false;
        if (page > 1)
            printer->newPage();
        layout.paintPage(painter, page);
    }
    return true;
}
