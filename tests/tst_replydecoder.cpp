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
    QTest::newRow("truncated UTF-8 sequence at end") << QByteArray("ok\n\xE2\x82")
                                                     << QStringLiteral("ok\n\u00E2\u0082");
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
