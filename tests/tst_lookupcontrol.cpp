// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Marrowby Industries

#include "FakeWhoisServer.h"
#include "LoopbackResolver.h"
#include "RepliesOnly.h"
#include "TestMain.h"

#include "app/Form1.h"
#include "query/HttpGetter.h"
#include "query/LookupStopped.h"
#include "query/StopRequest.h"
#include "query/WhoisClient.h"
#include "ui/MessageBox.h"
#include "ui/ReplyBox.h"

#include <QGuiApplication>
#include <QLineEdit>
#include <QNetworkAccessManager>
#include <QPushButton>
#include <QWindow>

using namespace std::chrono_literals;

namespace {
// Far longer than any test waits, so a lookup that ends by a time-out is
// never taken for one that was stopped.
ConnectionLimits patientLimits()
{
    ConnectionLimits limits;
    limits.connectTimeout = 60s;
    limits.idleTimeout = 60s;
    return limits;
}

std::unique_ptr<Form1> makeForm(const QString &host, quint16 port, std::shared_ptr<LoopbackResolver> resolver)
{
    auto form = std::make_unique<Form1>(std::make_unique<WhoisClient>(host, port, std::move(resolver), QUrl(),
                                                                      patientLimits()));
    form->show();
    return form;
}

template<typename Widget>
Widget *child(QWidget *form, const char *name)
{
    return form->findChild<Widget *>(QLatin1String(name));
}

const QString Querying = QStringLiteral("Querying remote server...");
} // namespace

// While a lookup waits, input comes through the window system as a user
// gives it: Esc stops the lookup, closing the window ends the program, and
// everything else is dropped.
class TestLookupControl : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void escStopsTheLookup_data();
    void escStopsTheLookup();
    void inputDuringTheLookupIsDropped();
    void closingTheWindowEndsTheProgram();
    void anHttpRequestStops();
};

void TestLookupControl::init()
{
    MessageBox::setPresetAnswer(true);
}

void TestLookupControl::escStopsTheLookup_data()
{
    QTest::addColumn<bool>("resolves");
    QTest::addColumn<QString>("expected");

    QTest::newRow("resolving the name")
        << false << QStringLiteral("The lookup was stopped while waiting for the WHOIS server whois.example.net.");
    QTest::newRow("reading the reply")
        << true << QStringLiteral("The lookup was stopped while waiting for the WHOIS server 127.0.0.1:%1.");
}

void TestLookupControl::escStopsTheLookup()
{
    QFETCH(bool, resolves);
    QFETCH(QString, expected);

    FakeWhoisServer server;
    server.send("Domain Name: EXAMPLE.COM\r\n");
    auto resolver = std::make_shared<LoopbackResolver>();
    std::unique_ptr<Form1> form;
    if (resolves) {
        form = makeForm(QStringLiteral("127.0.0.1"), server.port(), resolver);
        expected = expected.arg(server.port());
        connect(&server, &FakeWhoisServer::queryReceived, form.get(),
                [&form] { QTest::keyClick(form->windowHandle(), Qt::Key_Escape); });
    } else {
        resolver->hang();
        form = makeForm(QStringLiteral("whois.example.net"), 43, resolver);
    }
    QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    if (!resolves)
        QTimer::singleShot(0, form.get(), [&form] { QTest::keyClick(form->windowHandle(), Qt::Key_Escape); });

    QTest::mouseClick(child<QPushButton>(form.get(), "cmdQuery"), Qt::LeftButton);
    const auto shown = MessageBox::takeShown();
    QCOMPARE(shown.size(), 1);
    QCOMPARE(shown[0].prompt, QLatin1String("Error: \r\n") + expected);
    QCOMPARE(child<ReplyBox>(form.get(), "txtResponse")->text(), Querying);
    QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
    // Esc did not press Exit on its way.
    QVERIFY(form->isVisible());
}

void TestLookupControl::inputDuringTheLookupIsDropped()
{
    FakeWhoisServer server;
    server.send("Domain Name: EXAMPLE.COM\r\n").close();
    auto form = makeForm(QStringLiteral("127.0.0.1"), server.port(), std::make_shared<LoopbackResolver>());
    QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    auto *domain = child<QLineEdit>(form.get(), "txtDomain");
    auto *query = child<QPushButton>(form.get(), "cmdQuery");
    auto *response = child<ReplyBox>(form.get(), "txtResponse");
    const QString typed = domain->text();

    connect(&server, &FakeWhoisServer::queryReceived, form.get(), [&] {
        QWindow *window = form->windowHandle();
        QTest::keyClick(window, Qt::Key_X);
        QTest::keyClick(window, Qt::Key_Q, Qt::AltModifier);
        QTest::mouseClick(window, Qt::LeftButton, {}, query->mapTo(form.get(), query->rect().center()));
        QTest::mouseClick(window, Qt::LeftButton, {}, response->mapTo(form.get(), response->rect().center()));
    });
    QTest::mouseClick(query, Qt::LeftButton);
    QCoreApplication::processEvents();

    QCOMPARE(repliesOnly(response->text()), QStringLiteral("Domain Name: EXAMPLE.COM\n"));
    QCOMPARE(domain->text(), typed);
    QCOMPARE(server.connections(), 1);
    // The click that started the lookup took the focus; the click on the
    // reply box meanwhile did not.
    QCOMPARE(QApplication::focusWidget(), query);
    QVERIFY(MessageBox::takeShown().isEmpty());
}

void TestLookupControl::closingTheWindowEndsTheProgram()
{
    FakeWhoisServer silent;
    auto form = makeForm(QStringLiteral("127.0.0.1"), silent.port(), std::make_shared<LoopbackResolver>());
    QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    auto *query = child<QPushButton>(form.get(), "cmdQuery");

    // The window system's close request, as the close control or Alt+F4
    // gives it.
    connect(&silent, &FakeWhoisServer::queryReceived, form.get(), [&form] { form->windowHandle()->close(); });
    QTimer::singleShot(0, query, [query] { QTest::mouseClick(query, Qt::LeftButton); });
    // Ends the program in its place if the close request does not.
    QTimer::singleShot(30s, qApp, [] { QCoreApplication::exit(1); });
    QCOMPARE(QCoreApplication::exec(), 0);

    QCOMPARE(silent.connections(), 1);
    QVERIFY(!form->isVisible());
    QVERIFY(MessageBox::takeShown().isEmpty());
}

void TestLookupControl::anHttpRequestStops()
{
    // Any peer that reads the request and never answers will do.
    FakeWhoisServer silent;
    QNetworkAccessManager network;
    StopRequest stop;
    connect(&silent, &FakeWhoisServer::queryReceived, &stop, &StopRequest::raise);
    HttpGetter getter(network, patientLimits(), stop);

    QString stopped;
    try {
        getter.get(QUrl(QStringLiteral("http://127.0.0.1:%1/domain/example.com").arg(silent.port())),
                   "application/rdap+json", {});
    } catch (const LookupStopped &e) {
        stopped = e.description();
    }
    QCOMPARE(stopped, QStringLiteral("The lookup was stopped while waiting for 127.0.0.1."));
    QCOMPARE(silent.connections(), 1);
}

HOLDRIN_TEST_MAIN(TestLookupControl)
#include "tst_lookupcontrol.moc"
