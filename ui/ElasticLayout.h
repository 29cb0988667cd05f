// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Marrowby Industries

#pragma once

#include <QLayout>
#include <QRect>

#include <memory>
#include <vector>

// Lays each control out at its design rectangle, given in twips (15 to a
// pixel at 96 dpi), and scales all rectangles in proportion when the client
// area is resized away from its design size.
class ElasticLayout : public QLayout
{
public:
    explicit ElasticLayout(QSize designClientTwips, QWidget *parent = nullptr);
    ~ElasticLayout() override;

    void addWidget(QWidget *widget, QRect designTwips);

    static int toPixels(int twips);
    static QRect toPixels(QRect twips);

    QSize designSize() const;

    void addItem(QLayoutItem *item) override;
    QLayoutItem *itemAt(int index) const override;
    QLayoutItem *takeAt(int index) override;
    int count() const override;
    QSize sizeHint() const override;
    QSize minimumSize() const override;
    void setGeometry(const QRect &rect) override;

private:
    struct Entry {
        std::unique_ptr<QLayoutItem> item;
        QRect designTwips;
    };

    QSize m_designTwips;
    std::vector<Entry> m_entries;
};
