// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Marrowby Industries

#include "TestMain.h"

#include "query/NoteLines.h"

class TestNoteLines : public QObject
{
    Q_OBJECT

private slots:
    void framed_data();
    void framed();
};

void TestNoteLines::framed_data()
{
    QTest::addColumn<QString>("sentence");
    QTest::addColumn<QString>("lines");

    const QString longUrl = QStringLiteral("https://rdap.registry.test/v1/domain/")
        + QString(60, u'a') + QStringLiteral(".com");

    QTest::newRow("short") << QStringLiteral("Reply from whois.iana.org")
                           << QStringLiteral("--- Reply from whois.iana.org ---");
    QTest::newRow("broken between words")
        << QStringLiteral("RDAP https://rdap.registry.test/v1/domain/marrowby.com: the server answered HTTP 301.")
        << QStringLiteral("--- RDAP https://rdap.registry.test/v1/domain/marrowby.com: the server answered\n"
                          "    HTTP 301. ---");
    QTest::newRow("exactly 80 columns") << QString(QString(70, u'x') + QStringLiteral(" y"))
                                        << QString(QStringLiteral("--- ") + QString(70, u'x') + QStringLiteral(" y ---"));
    QTest::newRow("one more breaks") << QString(QString(71, u'x') + QStringLiteral(" y"))
                                     << QString(QStringLiteral("--- ") + QString(71, u'x') + QStringLiteral("\n    y ---"));
    QTest::newRow("a URL longer than a line stands whole")
        << QString(QStringLiteral("RDAP ") + longUrl + QStringLiteral(": not found at rdap.registry.test."))
        << QString(QStringLiteral("--- RDAP\n    ") + longUrl + QStringLiteral(":\n    not found at rdap.registry.test. ---"));
    QTest::newRow("line breaks inside are spaces") << QStringLiteral("two\nlines ") << QStringLiteral("--- two lines ---");
    QTest::newRow("empty") << QString() << QStringLiteral("--- ---");
}

void TestNoteLines::framed()
{
    QFETCH(QString, sentence);
    QFETCH(QString, lines);
    QCOMPARE(NoteLines::framed(sentence), lines);
}

HOLDRIN_TEST_MAIN(TestNoteLines)
#include "tst_notelines.moc"
