// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Marrowby Industries

#include "TestMain.h"

#include "ui/ElasticLayout.h"

#include <QWidget>

class TestElasticLayout : public QObject
{
    Q_OBJECT

private slots:
    void scalesDesignRectangles_data();
    void scalesDesignRectangles();
};

void TestElasticLayout::scalesDesignRectangles_data()
{
    QTest::addColumn<QSize>("client");
    QTest::addColumn<QRect>("first");
    QTest::addColumn<QRect>("second");

    // Design: 300 by 150 pixels; controls side by side with a 1 pixel gap.
    QTest::newRow("design size") << QSize(300, 150) << QRect(10, 20, 100, 30) << QRect(111, 20, 189, 130);
    QTest::newRow("double") << QSize(600, 300) << QRect(20, 40, 200, 60) << QRect(222, 40, 378, 260);
    QTest::newRow("wider only") << QSize(450, 150) << QRect(15, 20, 150, 30) << QRect(167, 20, 283, 130);
    QTest::newRow("odd size keeps edges together")
        << QSize(301, 151) << QRect(10, 20, 100, 30) << QRect(111, 20, 190, 131);
}

void TestElasticLayout::scalesDesignRectangles()
{
    QFETCH(QSize, client);
    QFETCH(QRect, first);
    QFETCH(QRect, second);

    QWidget window;
    auto *layout = new ElasticLayout(QSize(4500, 2250), &window);
    auto *a = new QWidget;
    auto *b = new QWidget;
    layout->addWidget(a, QRect(150, 300, 1500, 450));
    layout->addWidget(b, QRect(1665, 300, 2835, 1950));
    QCOMPARE(layout->sizeHint(), QSize(300, 150));

    window.resize(client);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QCOMPARE(a->geometry(), first);
    QCOMPARE(b->geometry(), second);
    QCOMPARE(a->parentWidget(), &window);
}

HOLDRIN_TEST_MAIN(TestElasticLayout)
#include "tst_elasticlayout.moc"
