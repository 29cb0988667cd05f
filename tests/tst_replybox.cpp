// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Marrowby Industries

#include "TestMain.h"

#include "ui/ReplyBox.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QTextBlock>

namespace {
constexpr qsizetype Bound = ReplyBox::MaxShownLine;

QString run(QChar c, qsizetype n)
{
    return QString(n, c);
}
} // namespace

class TestReplyBox : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void keepsTheTextThroughEdits_data();
    void keepsTheTextThroughEdits();
    void copyAndPasteKeepTheLines();

private:
    std::unique_ptr<ReplyBox> m_box;
};

void TestReplyBox::init()
{
    m_box = std::make_unique<ReplyBox>();
    m_box->setLineWrapMode(ReplyBox::NoWrap);
    m_box->show();
}

void TestReplyBox::cleanup()
{
    m_box.reset();
}

// keys: '\n' is Enter, '\v' Shift+Enter, '\b' Backspace, '\x1a' Ctrl+Z, anything else typed.
void TestReplyBox::keepsTheTextThroughEdits_data()
{
    QTest::addColumn<QString>("reply");
    QTest::addColumn<int>("shownLines");
    QTest::addColumn<int>("at");
    QTest::addColumn<int>("selected");
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("text");

    // A line of two pieces, and one of three; positions count one
    // separator between pieces.
    const int b = int(Bound);
    const QString xs = run(u'x', Bound + 904);
    const QString abc = run(u'a', Bound) + run(u'b', Bound) + run(u'c', 10);
    const QString smile = QStringLiteral("\U0001F600");

    QTest::newRow("empty") << QString() << 1 << -1 << 0 << QString() << QString();
    QTest::newRow("short lines, CR LF read as LF") << QStringLiteral("a\r\nb\n") << 3 << -1 << 0 << QString()
                                                   << QStringLiteral("a\nb\n");
    QTest::newRow("no-break spaces, line separator") << QStringLiteral("a\u00a0b\u2028\n\u00a0") << 2 << -1 << 0
                                                     << QString() << QStringLiteral("a\u00a0b\u2028\n\u00a0");
    QTest::newRow("lines at the bound") << run(u'x', Bound) + u'\n' + run(u'y', Bound) + u'\n' << 3 << -1 << 0
                                        << QString() << run(u'x', Bound) + u'\n' + run(u'y', Bound) + u'\n';
    QTest::newRow("one over the bound") << run(u'x', Bound + 1) << 2 << -1 << 0 << QString() << run(u'x', Bound + 1);
    QTest::newRow("long line among short ones") << QStringLiteral("a\n") + abc + QStringLiteral("\nz") << 5 << -1 << 0
                                                << QString() << QStringLiteral("a\n") + abc + QStringLiteral("\nz");
    QTest::newRow("pair of surrogates at the bound")
        << run(u'x', Bound - 1) + smile + run(u'z', Bound) << 3 << -1 << 0 << QString()
        << run(u'x', Bound - 1) + smile + run(u'z', Bound);
    QTest::newRow("typed inside a long line") << xs << 2 << b + 404 << 0 << QStringLiteral("ab")
                                              << run(u'x', Bound + 403) + QStringLiteral("ab") + run(u'x', 501);
    QTest::newRow("Enter inside a piece") << xs << 3 << b + 404 << 0 << QStringLiteral("\n")
                                          << run(u'x', Bound + 403) + u'\n' + run(u'x', 501);
    QTest::newRow("Enter where a piece starts") << xs << 3 << b + 1 << 0 << QStringLiteral("\n")
                                                << run(u'x', Bound) + u'\n' + run(u'x', 904);
    // The pieces' break is no character of the reply: joining them changes no text.
    QTest::newRow("Backspace joins two pieces") << xs << 1 << b + 1 << 0 << QStringLiteral("\b") << xs;
    QTest::newRow("undone join") << xs << 2 << b + 1 << 0 << QStringLiteral("\b\x1a") << xs;
    QTest::newRow("Shift+Enter") << QStringLiteral("ab") << 2 << 1 << 0 << QStringLiteral("\v") << QStringLiteral("a\nb");
    QTest::newRow("Backspace joins two lines") << QStringLiteral("ab\ncd") << 1 << 3 << 0 << QStringLiteral("\b")
                                               << QStringLiteral("abcd");
    // From the last 96 a to the 6th c: both piece ends go.
    QTest::newRow("selection across pieces deleted")
        << abc << 1 << b - 96 << b + 104 << QStringLiteral("\b") << run(u'a', Bound - 96) + run(u'c', 4);
}

void TestReplyBox::keepsTheTextThroughEdits()
{
    QFETCH(QString, reply);
    QFETCH(int, shownLines);
    QFETCH(int, at);
    QFETCH(int, selected);
    QFETCH(QString, keys);
    QFETCH(QString, text);

    QVERIFY_THROWS_NO_EXCEPTION(m_box->setText(reply));
    for (QTextBlock block = m_box->document()->begin(); block.isValid(); block = block.next())
        QVERIFY(block.length() <= Bound + 1 && !block.text().endsWith(QChar::highSurrogate(0x1F600)));
    if (at >= 0) {
        QTextCursor cursor = m_box->textCursor();
        cursor.setPosition(at);
        cursor.setPosition(at + selected, QTextCursor::KeepAnchor);
        m_box->setTextCursor(cursor);
    }
    for (QChar key : keys) {
        if (key == u'\n')
            QTest::keyClick(m_box.get(), Qt::Key_Return);
        else if (key == u'\v')
            QTest::keyClick(m_box.get(), Qt::Key_Return, Qt::ShiftModifier);
        else if (key == u'\b')
            QTest::keyClick(m_box.get(), Qt::Key_Backspace);
        else if (key == u'\x1a')
            QTest::keySequence(m_box.get(), QKeySequence::Undo);
        else
            QTest::keyClicks(m_box.get(), QString(key));
    }

    QCOMPARE(m_box->document()->blockCount(), shownLines);
    const QString got = m_box->text();
    QVERIFY2(got == text, qPrintable(QStringLiteral("%1 characters, %2 expected; first difference at %3")
                                         .arg(got.size())
                                         .arg(text.size())
                                         .arg(std::mismatch(got.cbegin(), got.cend(), text.cbegin(), text.cend()).first
                                              - got.cbegin())));
}

void TestReplyBox::copyAndPasteKeepTheLines()
{
    const QString line = run(u'a', Bound) + run(u'b', 10);
    m_box->setText(line + QStringLiteral("\n\u00a0"));

    // Across the end of the first piece, and on to the next line.
    QTextCursor cursor = m_box->textCursor();
    cursor.setPosition(int(Bound) - 2);
    cursor.movePosition(QTextCursor::End, QTextCursor::KeepAnchor);
    m_box->setTextCursor(cursor);
    QTest::keySequence(m_box.get(), QKeySequence::Copy);
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("aabbbbbbbbbb\n\u00a0"));

    // A pasted line break splits the piece it lands in; a long pasted line
    // is shown in pieces.
    const QString pasted = run(u'p', Bound + 1);
    QGuiApplication::clipboard()->setText(QStringLiteral("1\r\n2\n") + pasted);
    cursor.setPosition(int(Bound) + 2);
    m_box->setTextCursor(cursor);
    QTest::keySequence(m_box.get(), QKeySequence::Paste);
    QCOMPARE(m_box->text(), run(u'a', Bound) + QStringLiteral("b1\n2\n") + pasted + QStringLiteral("bbbbbbbbb\n\u00a0"));
    QCOMPARE(m_box->document()->blockCount(), 6);
}

HOLDRIN_TEST_MAIN(TestReplyBox)
#include "tst_replybox.moc"
