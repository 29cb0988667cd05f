// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Marrowby Industries

#include "TestMain.h"

#include "output/RunningLine.h"

Q_DECLARE_METATYPE(RunningLine::Zones)

class TestRunningLine : public QObject
{
    Q_OBJECT

private slots:
    void format_data();
    void format();
};

void TestRunningLine::format_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<int>("page");
    QTest::addColumn<RunningLine::Zones>("zones");
    QTest::addColumn<bool>("numbered");

    const auto s = [](const char *text) { return QString::fromUtf8(text); };
    QTest::newRow("product line") << s("Holdrin 1.0 from Marrowby Industries||Page %d") << 3
                                  << RunningLine::Zones{s("Holdrin 1.0 from Marrowby Industries"), {}, s("Page 3")} << true;
    QTest::newRow("date and path") << s("07-Dec-26||/opt/holdrin/Tempfile.txt") << 1
                                   << RunningLine::Zones{s("07-Dec-26"), {}, s("/opt/holdrin/Tempfile.txt")} << true;
    QTest::newRow("three zones") << s("a|b|c") << 1 << RunningLine::Zones{s("a"), s("b"), s("c")} << true;
    QTest::newRow("bar in a path stays in the right zone")
        << s("d||/tmp/a|b/Tempfile.txt") << 1 << RunningLine::Zones{s("d"), {}, s("/tmp/a|b/Tempfile.txt")} << true;
    QTest::newRow("no bar is all left") << s("Page %d") << 12 << RunningLine::Zones{s("Page 12"), {}, {}} << true;
    QTest::newRow("one bar") << s("left|centre %d") << 2 << RunningLine::Zones{s("left"), s("centre 2"), {}} << true;
    QTest::newRow("page number in every zone") << s("%d|%d|%d%d") << 7 << RunningLine::Zones{s("7"), s("7"), s("77")} << true;
    QTest::newRow("empty") << QString() << 1 << RunningLine::Zones{} << true;
    QTest::newRow("only bars") << s("||") << 1 << RunningLine::Zones{} << true;
    QTest::newRow("large page number") << s("||%d") << 100000 << RunningLine::Zones{{}, {}, s("100000")} << true;
    QTest::newRow("percent without d stays") << s("100% sure|%s|%") << 1
                                             << RunningLine::Zones{s("100% sure"), s("%s"), s("%")} << true;
    QTest::newRow("line taken as it stands") << s("07-Dec-26||/home/u/100%done/%d/Tempfile.txt") << 5
                                             << RunningLine::Zones{s("07-Dec-26"), {}, s("/home/u/100%done/%d/Tempfile.txt")}
                                             << false;
    QTest::newRow("non-ASCII") << s("Seite %d|ü|日本") << 4 << RunningLine::Zones{s("Seite 4"), s("ü"), s("日本")} << true;
}

void TestRunningLine::format()
{
    QFETCH(QString, line);
    QFETCH(int, page);
    QFETCH(RunningLine::Zones, zones);
    QFETCH(bool, numbered);
    const RunningLine::Zones got = numbered ? RunningLine::format(line, page) : RunningLine::split(line);
    QCOMPARE(got.left, zones.left);
    QCOMPARE(got.centre, zones.centre);
    QCOMPARE(got.right, zones.right);
}

HOLDRIN_TEST_MAIN(TestRunningLine)
#include "tst_runningline.moc"
