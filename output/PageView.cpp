// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Marrowby Industries

#include "output/PageView.h"

#include "output/Pagination.h"

#include <QImage>
#include <QPainter>
#include <QScrollBar>

#include <algorithm>

namespace {
constexpr int Spacing = 10;
constexpr int ThumbnailWidth = 120;
// Pages drawn at the current size are kept up to this many KiB.
constexpr int CacheKiB = 64 * 1024;
} // namespace

PageView::PageView(QWidget *parent)
    : QAbstractScrollArea(parent)
    , m_cache(CacheKiB)
{
    // A scroll bar that came and went with the page count would change the
    // width the pages are fitted to.
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    viewport()->setBackgroundRole(QPalette::Dark);
    viewport()->setAutoFillBackground(true);
}

void PageView::setPages(Pagination *pages)
{
    m_pages = pages;
    m_cache.clear();
    verticalScrollBar()->setValue(0);
    updateScrollRange();
    viewport()->update();
}

void PageView::setZoom(Zoom zoom)
{
    if (zoom == m_zoom)
        return;
    // The page at the top stays at the top.
    const Grid before = grid();
    const int topPage = verticalScrollBar()->value() / rowHeight(before) * before.columns;
    m_zoom = zoom;
    const Grid after = grid();
    updateScrollRange();
    verticalScrollBar()->setValue(topPage / after.columns * rowHeight(after));
    viewport()->update();
}

void PageView::pagesAdded()
{
    updateScrollRange();
}

PageView::Grid PageView::grid() const
{
    const QSize view = viewport()->size();
    const QSizeF paper = m_pages ? m_pages->paperSize() : QSizeF(297, 210);
    const qreal ratio = paper.height() / paper.width();
    const qreal fullHeight = qreal(view.height() - 2 * Spacing) / ratio;
    int columns = 1;
    qreal width = view.width() - 2 * Spacing;
    switch (m_zoom) {
    case Zoom::WholePage:
        width = std::min(width, fullHeight);
        break;
    case Zoom::PageWidth:
        break;
    case Zoom::TwoPages:
        columns = 2;
        width = std::min(qreal(view.width() - 3 * Spacing) / 2, fullHeight);
        break;
    case Zoom::Thumbnail:
        columns = std::max(1, (view.width() - Spacing) / (ThumbnailWidth + Spacing));
        width = std::min(width, qreal(ThumbnailWidth));
        break;
    }
    const QSize page(std::max(1, int(width)), std::max(1, int(width * ratio)));
    const int left = (view.width() - columns * page.width() - (columns - 1) * Spacing) / 2;
    return {columns, page, Spacing, left};
}

void PageView::updateScrollRange()
{
    const Grid g = grid();
    const int pages = m_pages ? m_pages->pageCount() : 0;
    const int rows = (pages + g.columns - 1) / g.columns;
    const int height = rows * rowHeight(g) + g.spacing;
    verticalScrollBar()->setRange(0, std::max(0, height - viewport()->height()));
    verticalScrollBar()->setPageStep(viewport()->height());
    verticalScrollBar()->setSingleStep(std::max(1, g.page.height() / 20));
}

void PageView::paintEvent(QPaintEvent *)
{
    if (!m_pages)
        return;
    const Grid g = grid();
    const int top = verticalScrollBar()->value();
    const int firstRow = std::max(0, top / rowHeight(g) - 1);
    const int lastRow = (top + viewport()->height()) / rowHeight(g);
    // Pages in view that have not been found yet are found now.
    const int before = m_pages->pageCount();
    m_pages->paginate((lastRow + 1) * g.columns);
    if (m_pages->pageCount() != before)
        updateScrollRange();

    QPainter painter(viewport());
    for (int row = firstRow; row <= lastRow; ++row) {
        for (int column = 0; column < g.columns; ++column) {
            const int page = row * g.columns + column + 1;
            if (page > m_pages->pageCount())
                return;
            const QRect rect(QPoint(g.left + column * (g.page.width() + g.spacing), g.spacing + row * rowHeight(g) - top),
                             g.page);
            painter.fillRect(rect.translated(3, 3), palette().color(QPalette::Shadow));
            painter.drawPixmap(rect.topLeft(), pageImage(page, g.page));
            painter.setPen(palette().color(QPalette::Shadow));
            painter.drawRect(rect.adjusted(0, 0, -1, -1));
        }
    }
}

void PageView::resizeEvent(QResizeEvent *event)
{
    QAbstractScrollArea::resizeEvent(event);
    updateScrollRange();
}

void PageView::scrollContentsBy(int, int)
{
    viewport()->update();
}

// The page drawn at the printer's resolution and scaled down, so that the
// screen shows the lines and page breaks the printer prints.
QPixmap PageView::pageImage(int page, QSize size)
{
    if (size != m_cachedSize) {
        m_cache.clear();
        m_cachedSize = size;
    }
    if (const QPixmap *cached = m_cache.object(page))
        return *cached;

    const qreal ratio = devicePixelRatioF();
    QImage image(size * ratio, QImage::Format_RGB32);
    image.fill(Qt::white);
    const int dotsPerMetre = qRound(m_pages->resolution() / 0.0254);
    image.setDotsPerMeterX(dotsPerMetre);
    image.setDotsPerMeterY(dotsPerMetre);
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        const qreal scale = image.width() / m_pages->paperSize().width();
        painter.scale(scale, scale);
        painter.translate(m_pages->printableOrigin());
        m_pages->paintPage(painter, page);
    }
    auto *pixmap = new QPixmap(QPixmap::fromImage(image));
    pixmap->setDevicePixelRatio(ratio);
    const QPixmap shown = *pixmap;
    m_cache.insert(page, pixmap, std::max<qsizetype>(1, image.sizeInBytes() / 1024));
    return shown;
}
