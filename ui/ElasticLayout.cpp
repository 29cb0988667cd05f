// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Marrowby Industries

#include "ui/ElasticLayout.h"

#include <QWidget>

namespace {
constexpr int TwipsPerPixel = 15;

// Scales a design coordinate to the current extent, rounding to the nearest
// pixel. Edges, not widths, are scaled, so neighbouring controls keep their
// designed gaps without rounding drift.
int scale(int designTwips, int extent, int designExtentTwips)
{
    return int((qint64(designTwips) * extent * 2 + designExtentTwips) / (qint64(designExtentTwips) * 2));
}
} // namespace

ElasticLayout::ElasticLayout(QSize designClientTwips, QWidget *parent)
    : QLayout(parent)
    , m_designTwips(designClientTwips)
{
    setContentsMargins(0, 0, 0, 0);
    setSpacing(0);
}

ElasticLayout::~ElasticLayout() = default;

void ElasticLayout::addWidget(QWidget *widget, QRect designTwips)
{
    addChildWidget(widget);
    m_entries.push_back({std::make_unique<QWidgetItem>(widget), designTwips});
    invalidate();
}

int ElasticLayout::toPixels(int twips)
{
    return (twips + TwipsPerPixel / 2) / TwipsPerPixel;
}

QRect ElasticLayout::toPixels(QRect twips)
{
    const int left = toPixels(twips.x());
    const int top = toPixels(twips.y());
    return QRect(left, top, toPixels(twips.x() + twips.width()) - left,
                 toPixels(twips.y() + twips.height()) - top);
}

QSize ElasticLayout::designSize() const
{
    return QSize(toPixels(m_designTwips.width()), toPixels(m_designTwips.height()));
}

void ElasticLayout::addItem(QLayoutItem *item)
{
    // A control added without a design rectangle keeps the one it has now.
    const QRect now = item->widget() ? item->widget()->geometry() : item->geometry();
    m_entries.push_back({std::unique_ptr<QLayoutItem>(item),
                         QRect(now.x() * TwipsPerPixel, now.y() * TwipsPerPixel,
                               now.width() * TwipsPerPixel, now.height() * TwipsPerPixel)});
}

QLayoutItem *ElasticLayout::itemAt(int index) const
{
    if (index < 0 || index >= count())
        return nullptr;
    return m_entries[size_t(index)].item.get();
}

QLayoutItem *ElasticLayout::takeAt(int index)
{
    if (index < 0 || index >= count())
        return nullptr;
    const auto it = m_entries.begin() + index;
    QLayoutItem *item = it->item.release();
    m_entries.erase(it);
    return item;
}

int ElasticLayout::count() const
{
    return int(m_entries.size());
}

QSize ElasticLayout::sizeHint() const
{
    return designSize();
}

QSize ElasticLayout::minimumSize() const
{
    return designSize() / 2;
}

void ElasticLayout::setGeometry(const QRect &rect)
{
    QLayout::setGeometry(rect);
    const int w = m_designTwips.width();
    const int h = m_designTwips.height();
    for (const Entry &entry : m_entries) {
        const QRect &d = entry.designTwips;
        const int left = scale(d.left(), rect.width(), w);
        const int top = scale(d.top(), rect.height(), h);
        const int right = scale(d.left() + d.width(), rect.width(), w);
        const int bottom = scale(d.top() + d.height(), rect.height(), h);
        const QRect scaled(rect.x() + left, rect.y() + top, right - left, bottom - top);
        // A widget gets its rectangle exactly; QWidgetItem would bend it to
        // the widget's size hints.
        if (QWidget *widget = entry.item->widget())
            widget->setGeometry(scaled);
        else
            entry.item->setGeometry(scaled);
    }
}
