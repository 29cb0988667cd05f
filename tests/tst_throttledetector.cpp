// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Marrowby Industries

#include "TestMain.h"

#include "query/ThrottleDetector.h"

#include <QTimeZone>

class TestThrottleDetector : public QObject
{
    Q_OBJECT

private slots:
    void whoisReply_data();
    void whoisReply();
    void httpAnswer_data();
    void httpAnswer();
};

void TestThrottleDetector::whoisReply_data()
{
    QTest::addColumn<QString>("reply");
    QTest::addColumn<bool>("throttled");
    QTest::addColumn<int>("retryAfter"); // seconds; -1 where the reply gives no time

    // What registries send a client that asks too often.
    const QStringList said = {
        QStringLiteral("% Error: 55000000002 Connection refused; access control limit reached.\n"),
        QStringLiteral("# Too many connections.\n"),
        QStringLiteral("request limit exceeded for 127.0.0.1\n"),
        QStringLiteral("only 1 request per second allowed, try again later\n"),
        QStringLiteral("daily whois-limit exceeded\n"),
        QStringLiteral("You have exceeded your quota of queries.\n"),
        QStringLiteral("Your connection limit exceeded. Please slow down and try again later.\n"),
        QStringLiteral("WHOIS LIMIT EXCEEDED - SEE WWW.PIR.ORG/WHOIS FOR DETAILS\n"),
    };
    for (const QString &reply : said)
        QTest::newRow(qPrintable(reply.trimmed())) << reply << true << -1;
    QTest::newRow("go away for 13 seconds") << QStringLiteral("Please go away for 13 Seconds\n") << true << 13;
    QTest::newRow("quota replenished in 50 seconds")
        << QStringLiteral("The WHOIS query quota for 127.0.0.1 has been exceeded and will be replenished in 50 seconds.\n")
        << true << 50;
    QTest::newRow("in minutes") << QStringLiteral("Too many queries; try again in 2 minutes.\n") << true << 120;

    QTest::newRow("no match") << QStringLiteral("No match for \"MARROWBY.COM\".\n") << false << -1;
    QTest::newRow("empty") << QString() << false << -1;
    QString record = QStringLiteral("Domain Name: MARROWBY.COM\nRegistrar: Example Registrar\n");
    for (int i = 0; i < 12; ++i)
        record += QStringLiteral("Name Server: NS%1.MARROWBY.COM\n").arg(i);
    record += QStringLiteral("% Queries are rate limited: when the access control limit is reached, or a daily "
                             "limit exceeded, the server refuses further queries for 60 seconds.\n");
    QTest::newRow("long record mentioning its limit") << record << false << -1;
}

void TestThrottleDetector::whoisReply()
{
    QFETCH(QString, reply);
    QFETCH(bool, throttled);
    QFETCH(int, retryAfter);

    const ThrottleDetector::Throttle throttle = ThrottleDetector::whois(reply);
    QCOMPARE(throttle.throttled, throttled);
    QCOMPARE(throttle.retryAfter ? int(throttle.retryAfter->count()) : -1, retryAfter);
}

void TestThrottleDetector::httpAnswer_data()
{
    QTest::addColumn<int>("status");
    QTest::addColumn<QByteArray>("retryAfterHeader");
    QTest::addColumn<bool>("throttled");
    QTest::addColumn<int>("retryAfter");

    QTest::newRow("429, seconds") << 429 << QByteArray(" 50 ") << true << 50;
    QTest::newRow("429, HTTP date") << 429 << QByteArray("Tue, 08 Dec 2026 13:01:30 GMT") << true << 90;
    QTest::newRow("429, date passed") << 429 << QByteArray("Tue, 08 Dec 2026 12:00:00 GMT") << true << -1;
    QTest::newRow("429, none") << 429 << QByteArray() << true << -1;
    QTest::newRow("429, unreadable") << 429 << QByteArray("soon") << true << -1;
    QTest::newRow("403") << 403 << QByteArray() << true << -1;
    QTest::newRow("200") << 200 << QByteArray("50") << false << -1;
    QTest::newRow("503") << 503 << QByteArray("50") << false << -1;
}

void TestThrottleDetector::httpAnswer()
{
    QFETCH(int, status);
    QFETCH(QByteArray, retryAfterHeader);
    QFETCH(bool, throttled);
    QFETCH(int, retryAfter);

    const QDateTime now(QDate(2026, 12, 8), QTime(13, 0), QTimeZone::utc());
    const ThrottleDetector::Throttle throttle = ThrottleDetector::http(status, retryAfterHeader, now);
    QCOMPARE(throttle.throttled, throttled);
    QCOMPARE(throttle.retryAfter ? int(throttle.retryAfter->count()) : -1, retryAfter);
}

HOLDRIN_TEST_MAIN(TestThrottleDetector)
#include "tst_throttledetector.moc"
