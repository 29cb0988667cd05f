// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Marrowby Industries

#pragma once

#include <QAbstractScrollArea>
#include <QCache>
#include <QPixmap>

class Pagination;

// The print window's pages on screen, one below the other or side by side.
// A page is painted only when it comes into view, so a long reply's first
// page shows at once, however many pages follow.
class PageView : public QAbstractScrollArea
{
    Q_OBJECT

public:
    enum class Zoom { WholePage, PageWidth, TwoPages, Thumbnail };

    explicit PageView(QWidget *parent = nullptr);

    // The pages to show; the view does not own them. Null shows none.
    void setPages(Pagination *pages);
    void setZoom(Zoom zoom);
    Zoom zoom() const { return m_zoom; }
    // To be called when more pages have been found.
    void pagesAdded();

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    struct Grid {
        int columns;
        QSize page;
        int spacing;
        int left;
    };

    Grid grid() const;
    int rowHeight(const Grid &grid) const { return grid.page.height() + grid.spacing; }
    void updateScrollRange();
    QPixmap pageImage(int page, QSize size);

    Pagination *m_pages = nullptr;
    Zoom m_zoom = Zoom::WholePage;
    QCache<int, QPixmap> m_cache;
    QSize m_cachedSize;
};
