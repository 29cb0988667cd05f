// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Marrowby Industries

#include "TestMain.h"

#include "query/ReplyDecoder.h"

class TestReplyDecoder : public QObject
{
    Q_OBJECT

private slots:
    void decode_data();
    void decode();
};

void TestReplyDecoder::decode_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");

    QTest::newRow("empty") << QByteArray() << QString();
    QTest::newRow("CR LF") << QByteArray("a\r\nb\r\n") << QStringLiteral("a\nb\n");
    QTest::newRow("lone LF") << QByteArray("a\nb\n") << QStringLiteral("a\nb\n");
    QTest::newRow("lone CR only") << QByteArray("a\rb\rc") << QStringLiteral("a\nb\nc");
    QTest::newRow("CR CR LF is two breaks") << QByteArray("a\r\r\nb") << QStringLiteral("a\n\nb");
    QTest::newRow("LF CR is two breaks") << QByteArray("a\n\rb") << QStringLiteral("a\n\nb");
    QTest::newRow("trailing lone CR") << QByteArray("a\r") << QStringLiteral("a\n");
    QTest::newRow("UTF-8") << QByteArray("M\xC3\xBCnchen \xE2\x82\xAC\r\n")
                           << QStringLiteral("M\u00FCnchen \u20AC\n");
    QTest::newRow("UTF-8 BOM dropped") << QByteArray("\xEF\xBB\xBFok") << QStringLiteral("ok");
    QTest::newRow("Latin-1 line among UTF-8 lines")
        << QByteArray("M\xC3\xBCnchen\r\nK\xF6ln\r\n\xC3\xA9t\xC3\xA9\r\n")
        << QStringLiteral("M\u00FCnchen\nK\u00F6ln\n\u00E9t\u00E9\n");
    QTest::newRow("windows-1252 quotes and euro sign among UTF-8 lines")
        << QByteArray("\x93" "Caf\xE9\x94 \x80 5\n\xE2\x82\xAC 5\n")
        << QStringLiteral("\u201CCaf\u00E9\u201D \u20AC 5\n\u20AC 5\n");
    QTest::newRow("truncated UTF-8 sequence at end") << QByteArray("ok\n\xE2\x82")
                                                     << QStringLiteral("ok\n\u00E2\u201A");
    QTest::newRow("a byte windows-1252 leaves undefined") << QByteArray("a\x81\xFF") << QStringLiteral("a\uFFFD\u00FF");
    QTest::newRow("ISO-2022-JP, as JPRS answers")
        << QByteArray("Domain Information: [\x1B$B%I%a%$%s>pJs\x1B(B]\r\n"
                      "[\x1B$BEPO?<TL>\x1B(B]   \x1B$B%^%m%&%S!<3t<02q<R\x1B(B\r\n")
        << QStringLiteral("Domain Information: [\u30C9\u30E1\u30A4\u30F3\u60C5\u5831]\n"
                          "[\u767B\u9332\u8005\u540D]   \u30DE\u30ED\u30A6\u30D3\u30FC\u682A\u5F0F\u4F1A\u793E\n");
    QTest::newRow("ISO-2022-JP's JIS-Roman") << QByteArray("\x1B(J\\100\x1B(B\\\n")
                                            << QStringLiteral("\u00A5100\\\n");
    QTest::newRow("ESC, BEL, FF, DEL and C1 controls shown, tab kept")
        << QByteArray("\x1B[31mred\x07\x0C\tx\x7F\xC2\x85\n")
        << QStringLiteral("\uFFFD[31mred\uFFFD\uFFFD\tx\uFFFD\uFFFD\n");
    QTest::newRow("paragraph separator, U+FDD0 and U+FDD1 shown, their neighbours kept")
        << QByteArray("a\xE2\x80\xA9" "b\xEF\xB7\x90" "c\xEF\xB7\x91" "d\xEF\xB7\x8F\xEF\xB7\x92\n")
        << QStringLiteral("a\uFFFDb\uFFFDc\uFFFDd\uFDCF\uFDD2\n");
    QTest::newRow("ESC in a windows-1252 line") << QByteArray("\x1B\xE9") << QStringLiteral("\uFFFD\u00E9");
    QTest::newRow("NUL bytes") << QByteArray("a\0b\0", 4) << QStringLiteral("a\uFFFDb\uFFFD");
    QTest::newRow("NUL in a Latin-1 line") << QByteArray("\xE9\0\n", 3) << QStringLiteral("\u00E9\uFFFD\n");
    QTest::newRow("overlong encoding is not UTF-8") << QByteArray("\xC0\xAF") << QStringLiteral("\u00C0\u00AF");
}

void TestReplyDecoder::decode()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    QCOMPARE(ReplyDecoder::decode(bytes), text);
}

HOLDRIN_TEST_MAIN(TestReplyDecoder)
#include "tst_replydecoder.moc"
