// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Marrowby Industries

#include "FakeWhoisServer.h"
#include "LoopbackResolver.h"
#include "RepliesOnly.h"
#include "TestMain.h"

#include "app/Form1.h"
#include "output/FileDialog.h"
#include "query/HttpGetter.h"
#include "query/LookupStopped.h"
#include "query/StopRequest.h"
#include "query/WhoisClient.h"
#include "ui/MessageBox.h"
#include "ui/ReplyBox.h"

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QAction>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QNetworkAccessManager>
#include <QPushButton>
#include <QSignalSpy>
#include <QWindow>

#include <functional>

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

template<typename Object>
Object *child(QWidget *form, const char *name)
{
    return form->findChild<Object *>(QLatin1String(name));
}

// A key as the window system gives it: through the application's shortcut
// map to whatever has the focus. A held key repeats its press.
void keyPress(QWindow *window, Qt::Key key, bool autoRepeat)
{
    QTest::simulateEvent(window, true, key, Qt::NoModifier, QString(), autoRepeat);
}

const QString Querying = QStringLiteral("Querying remote server...");
} // namespace

// While a lookup runs in its own thread, the window takes input as usual,
// but no other command starts: Esc stops the lookup, and closing the window
// or Exit ends the program.
class TestLookupControl : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void commandsWaitForTheLookup_data();
    void commandsWaitForTheLookup();
    void escStopsTheLookup_data();
    void escStopsTheLookup();
    void aHeldEscStopsOnce();
    void leavingEndsTheProgram_data();
    void leavingEndsTheProgram();
    void anHttpRequestStops();
};

void TestLookupControl::init()
{
    MessageBox::setPresetAnswer(true);
    FileDialog::setPresetReply(QString());
}

void TestLookupControl::cleanup()
{
    FileDialog::setPresetReply(std::nullopt);
}

void TestLookupControl::commandsWaitForTheLookup_data()
{
    QTest::addColumn<std::function<void(Form1 &)>>("command");

    const auto query = [](Form1 &form) { return child<QPushButton>(&form, "cmdQuery"); };
    QTest::newRow("a click on Query") << std::function<void(Form1 &)>(
        [query](Form1 &form) { QTest::mouseClick(query(form), Qt::LeftButton); });
    // The button's press comes from a timer a moment later; the click
    // given meanwhile comes first.
    QTest::newRow("Alt+Q, then a click at once") << std::function<void(Form1 &)>([query](Form1 &form) {
        QTest::keyClick(form.windowHandle(), Qt::Key_Q, Qt::AltModifier);
        QTest::mouseClick(query(form), Qt::LeftButton);
    });
    QTest::newRow("a screen reader's press on Query") << std::function<void(Form1 &)>([query](Form1 &form) {
        QAccessibleInterface *button = QAccessible::queryAccessibleInterface(query(form));
        QVERIFY(button && button->actionInterface());
        button->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    });
    // A desktop's global menu, exported over D-Bus, triggers the actions.
    for (const char *name : {"mnuSave", "mnuPrint", "mnuAbout", "mnuHelp2"}) {
        QTest::newRow(name) << std::function<void(Form1 &)>(
            [name](Form1 &form) { child<QAction>(&form, name)->trigger(); });
    }
}

void TestLookupControl::commandsWaitForTheLookup()
{
    QFETCH(std::function<void(Form1 &)>, command);

    FakeWhoisServer server;
    server.send("Domain Name: EXAMPLE.COM\r\n").hold().close();
    QSignalSpy asked(&server, &FakeWhoisServer::queryReceived);
    auto form = makeForm(QStringLiteral("127.0.0.1"), server.port(), std::make_shared<LoopbackResolver>());
    QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    auto *query = child<QPushButton>(form.get(), "cmdQuery");
    auto *response = child<ReplyBox>(form.get(), "txtResponse");

    // A window the command would open is noted and closed, so a fault
    // cannot hold the test up.
    QStringList opened;
    QTimer closer;
    connect(&closer, &QTimer::timeout, this, [&opened] {
        if (QWidget *modal = QApplication::activeModalWidget()) {
            opened << modal->objectName();
            modal->close();
        }
    });
    closer.start(10);

    QTest::mouseClick(query, Qt::LeftButton);
    QTRY_COMPARE_WITH_TIMEOUT(asked.size(), 1, 30000);
    command(*form);
    // Once a delayed press has been given, the button is up again.
    QTRY_VERIFY_WITH_TIMEOUT(!query->isDown(), 30000);
    QVERIFY(form->isLookingUp());
    server.release();
    QTRY_VERIFY_WITH_TIMEOUT(!form->isLookingUp(), 30000);

    QCOMPARE(repliesOnly(response->text()), QStringLiteral("Domain Name: EXAMPLE.COM\n"));
    QCOMPARE(server.connections(), 1);
    QCOMPARE(opened, QStringList());
    QVERIFY(MessageBox::takeShown().isEmpty());
    QCOMPARE(FileDialog::presetShowCount(), 0);
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
    QSignalSpy asked(&server, &FakeWhoisServer::queryReceived);
    auto resolver = std::make_shared<LoopbackResolver>();
    std::unique_ptr<Form1> form;
    if (resolves) {
        form = makeForm(QStringLiteral("127.0.0.1"), server.port(), resolver);
        expected = expected.arg(server.port());
    } else {
        resolver->hang();
        form = makeForm(QStringLiteral("whois.example.net"), 43, resolver);
    }
    QVERIFY(QTest::qWaitForWindowExposed(form.get()));

    QTest::mouseClick(child<QPushButton>(form.get(), "cmdQuery"), Qt::LeftButton);
    if (resolves)
        QTRY_COMPARE_WITH_TIMEOUT(asked.size(), 1, 30000);
    QTest::keyClick(form->windowHandle(), Qt::Key_Escape);
    QTRY_VERIFY_WITH_TIMEOUT(!form->isLookingUp(), 30000);

    const auto shown = MessageBox::takeShown();
    QCOMPARE(shown.size(), 1);
    QCOMPARE(shown[0].prompt, QLatin1String("Error: \r\n") + expected);
    QCOMPARE(child<ReplyBox>(form.get(), "txtResponse")->text(), Querying);
    QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
    // Esc did not press Exit on its way.
    QVERIFY(form->isVisible());
}

void TestLookupControl::aHeldEscStopsOnce()
{
    // The box that reports the stop is a real one here.
    MessageBox::setPresetAnswer(false);
    FakeWhoisServer server;
    server.send("Domain Name: EXAMPLE.COM\r\n");
    QSignalSpy asked(&server, &FakeWhoisServer::queryReceived);
    auto form = makeForm(QStringLiteral("127.0.0.1"), server.port(), std::make_shared<LoopbackResolver>());
    QVERIFY(QTest::qWaitForWindowExposed(form.get()));

    // The key is held on: its repeats go to whichever window has the focus,
    // the box while it is up, the main window once the box has gone.
    int repeats = 0;
    bool boxStayedUp = false;
    QTimer holder;
    connect(&holder, &QTimer::timeout, this, [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (box && repeats < 10) {
            keyPress(box->windowHandle(), Qt::Key_Escape, true);
            boxStayedUp = ++repeats == 10 && box->isVisible();
            if (boxStayedUp)
                box->button(QMessageBox::Ok)->click();
        } else if (repeats >= 10 && repeats < 20) {
            keyPress(form->windowHandle(), Qt::Key_Escape, true);
            ++repeats;
        }
    });
    holder.start(5);

    QTest::mouseClick(child<QPushButton>(form.get(), "cmdQuery"), Qt::LeftButton);
    QTRY_COMPARE_WITH_TIMEOUT(asked.size(), 1, 30000);
    keyPress(form->windowHandle(), Qt::Key_Escape, false);
    QTRY_VERIFY_WITH_TIMEOUT(!form->isLookingUp() && repeats == 20, 30000);

    QVERIFY(boxStayedUp);
    QCOMPARE(child<ReplyBox>(form.get(), "txtResponse")->text(), Querying);
    QVERIFY(form->isVisible());
}

void TestLookupControl::leavingEndsTheProgram_data()
{
    QTest::addColumn<QByteArray>("when");
    QTest::addColumn<QByteArray>("how");

    // The window system's close request, as the close control or Alt+F4
    // gives it, and the two Exits.
    for (const char *how : {"close request", "Exit button", "Exit menu"}) {
        QTest::addRow("%s while the registry is silent", how) << QByteArray("registry asked") << QByteArray(how);
        QTest::addRow("%s as the registry's reply ends", how) << QByteArray("registry answered") << QByteArray(how);
        QTest::addRow("%s while the registrar is asked", how) << QByteArray("registrar asked") << QByteArray(how);
    }
}

void TestLookupControl::leavingEndsTheProgram()
{
    QFETCH(QByteArray, when);
    QFETCH(QByteArray, how);

    FakeWhoisServer registry;
    FakeWhoisServer registrar;
    if (when != "registry asked")
        registry.send("Domain Name: MARROWBY.COM\r\nRegistrar WHOIS Server: whois.registrar.test\r\n").close();
    auto resolver = std::make_shared<LoopbackResolver>();
    resolver->add(QStringLiteral("whois.registry.test"), registry.port())
        .add(QStringLiteral("whois.registrar.test"), registrar.port());
    auto form = makeForm(QStringLiteral("whois.registry.test"), 43, resolver);
    QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    auto *query = child<QPushButton>(form.get(), "cmdQuery");

    const auto leave = [&form, how] {
        if (how == "close request")
            form->windowHandle()->close();
        else if (how == "Exit button")
            QTest::mouseClick(child<QPushButton>(form.get(), "cmdExit"), Qt::LeftButton);
        else
            child<QAction>(form.get(), "mnuExit")->trigger();
    };
    // In the same pass of the event loop as the registry's reply ends, or
    // at once as a server has the query.
    FakeWhoisServer &asked = when == "registrar asked" ? registrar : registry;
    connect(&asked, &FakeWhoisServer::queryReceived, form.get(), [leave, when] {
        if (when == "registry answered")
            QTimer::singleShot(0, leave);
        else
            leave();
    });
    QTimer::singleShot(0, query, [query] { QTest::mouseClick(query, Qt::LeftButton); });
    // Ends the program in its place if leaving does not.
    QTimer::singleShot(30s, qApp, [] { QCoreApplication::exit(1); });
    QCOMPARE(QCoreApplication::exec(), 0);
    QVERIFY(form->isLookingUp());

    // The lookup is abandoned: nothing waits for the silent server's time-outs.
    QElapsedTimer gone;
    gone.start();
    form.reset();
    QVERIFY2(gone.elapsed() < 30000, qPrintable(QString::number(gone.elapsed())));
    QCOMPARE(registry.connections(), 1);
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
