// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Marrowby Industries

#include "ClosedPort.h"
#include "FakeWhoisServer.h"
#include "LoopbackResolver.h"
#include "Querying.h"
#include "RepliesOnly.h"
#include "TestMain.h"

#include "app/Form1.h"
#include "query/WhoisClient.h"
#include "ui/MessageBox.h"
#include "ui/ReplyBox.h"

#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScrollBar>

namespace {
std::unique_ptr<Form1> makeForm(quint16 port)
{
    auto form = std::make_unique<Form1>(
        std::make_unique<WhoisClient>(QStringLiteral("127.0.0.1"), port, std::make_shared<LoopbackResolver>(), QUrl()));
    form->show();
    return form;
}

QAction *menuItem(QWidget *form, const char *name)
{
    return form->findChild<QAction *>(QLatin1String(name));
}

// Exit ends every running event loop and leaves that wish standing; a
// short application loop of our own clears it for the tests that follow.
void clearQuitRequest()
{
    QTimer::singleShot(0, qApp, [] { QCoreApplication::exit(0); });
    QCoreApplication::exec();
}
} // namespace

class TestForm1 : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void windowMatchesTheDesign();
    void controlsFollowAResize();
    void smallestWindowKeepsEveryControlWhole();
    void presetDomainIsSelectedAndReplacedByTyping();
    void helpShowsItsBox();
    void queryShowsTheReplyAndRestoresThePointer();
    void secondQueryReplacesTheFirst();
    void oneLineReplyArrivesWhole();
    void failedQueryKeepsTheProgressTextAndRunsOn();
    void exitClosesEveryWindow_data();
    void exitClosesEveryWindow();
};

void TestForm1::init()
{
    MessageBox::setPresetAnswer(true);
}

void TestForm1::windowMatchesTheDesign()
{
    auto form = makeForm(1);
    QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    QCOMPARE(form->windowTitle(), QStringLiteral("Holdrin: A Domain Info Query Tool"));
    QCOMPARE(form->centralWidget()->size(), QSize(432, 456));
    QCOMPARE(form->centralWidget()->palette().color(QPalette::Window), QColor(0, 0, 128));
    QCOMPARE(form->centralWidget()->font().family(), QStringLiteral("MS Sans Serif"));
    QCOMPARE(form->centralWidget()->font().pointSizeF(), 8.25);

    const struct {
        const char *name;
        QRect rect;
        QString text;
    } controls[] = {
        {"txtDomain", QRect(57, 24, 248, 21), QStringLiteral("marrowby.com")},
        {"cmdQuery", QRect(312, 24, 58, 23), QStringLiteral("&Query")},
        {"txtResponse", QRect(0, 56, 430, 393), QString()},
        {"Label1", QRect(8, 24, 50, 25), QStringLiteral("Domain:")},
        {"cmdExit", QRect(372, 24, 58, 23), QStringLiteral("&Exit")},
    };
    for (const auto &c : controls) {
        auto *widget = form->findChild<QWidget *>(QLatin1String(c.name));
        QVERIFY2(widget, c.name);
        QCOMPARE(widget->geometry(), c.rect);
        QString text;
        if (auto *edit = qobject_cast<QLineEdit *>(widget))
            text = edit->text();
        else if (auto *button = qobject_cast<QPushButton *>(widget))
            text = button->text();
        else if (auto *label = qobject_cast<QLabel *>(widget))
            text = label->text();
        else
            text = static_cast<ReplyBox *>(widget)->text();
        QCOMPARE(text, c.text);
    }

    auto *label = form->findChild<QLabel *>(QStringLiteral("Label1"));
    QCOMPARE(label->palette().color(QPalette::WindowText), QColor(255, 255, 0));
    QVERIFY(!label->autoFillBackground());
    QCOMPARE(label->buddy(), form->findChild<QWidget *>(QStringLiteral("txtDomain")));

    auto *response = form->findChild<ReplyBox *>(QStringLiteral("txtResponse"));
    QCOMPARE(response->lineWrapMode(), ReplyBox::NoWrap);
    QVERIFY(response->horizontalScrollBar()->isVisible());
    QVERIFY(response->verticalScrollBar()->isVisible());
    QVERIFY(!response->isReadOnly());

    // Tab order: domain, Query, reply, Exit.
    QStringList order;
    QWidget *w = form->findChild<QWidget *>(QStringLiteral("txtDomain"));
    QCOMPARE(QApplication::focusWidget(), w);
    for (int i = 0; i < 4; ++i) {
        order << w->objectName();
        w = w->nextInFocusChain();
        while (w->focusPolicy() == Qt::NoFocus || w->objectName().isEmpty())
            w = w->nextInFocusChain();
    }
    QCOMPARE(order, QStringList({QStringLiteral("txtDomain"), QStringLiteral("cmdQuery"),
                                 QStringLiteral("txtResponse"), QStringLiteral("cmdExit")}));

    QStringList menus;
    for (QAction *top : form->menuBar()->actions()) {
        menus << top->text();
        for (QAction *item : top->menu()->actions())
            menus << QLatin1String("  ") + item->text() + QLatin1Char(' ') + item->objectName();
    }
    QCOMPARE(menus, QStringList({QStringLiteral("&File"), QStringLiteral("  &Save Domain Info mnuSave"),
                                 QStringLiteral("  &Print Domain Info mnuPrint"), QStringLiteral("  &Exit mnuExit"),
                                 QStringLiteral("&Help"), QStringLiteral("  &Help mnuHelp2"),
                                 QStringLiteral("  &About mnuAbout")}));
    for (QAction *top : form->menuBar()->actions())
        for (QAction *item : top->menu()->actions())
            QVERIFY2(item->shortcut().isEmpty(), qPrintable(item->text()));
}

void TestForm1::controlsFollowAResize()
{
    auto form = makeForm(1);
    const int menu = form->menuBar()->height();
    form->resize(864, 912 + menu);
    QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    QTRY_COMPARE(form->centralWidget()->size(), QSize(864, 912));
    QCOMPARE(form->findChild<QWidget *>(QStringLiteral("txtResponse"))->geometry(), QRect(0, 112, 860, 786));
    QCOMPARE(form->findChild<QWidget *>(QStringLiteral("cmdExit"))->geometry(), QRect(745, 48, 115, 47));
}

void TestForm1::smallestWindowKeepsEveryControlWhole()
{
    auto form = makeForm(1);
    form->resize(1, 1);
    QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    const QSize client = form->centralWidget()->size();
    // The text box is designed at the height its text needs, so only the width gives way.
    QVERIFY2(client.width() < 432, qPrintable(QString::number(client.width())));
    auto *label = form->findChild<QLabel *>(QStringLiteral("Label1"));
    auto *domain = form->findChild<QLineEdit *>(QStringLiteral("txtDomain"));
    QVERIFY(label->x() + label->fontMetrics().horizontalAdvance(label->text()) <= domain->x());
    QVERIFY(domain->height() >= domain->minimumSizeHint().height());
    for (const char *name : {"cmdQuery", "cmdExit"}) {
        auto *button = form->findChild<QPushButton *>(QLatin1String(name));
        const QSize text = button->fontMetrics().size(Qt::TextShowMnemonic, button->text());
        QVERIFY2(text.width() < button->width() && text.height() < button->height(), name);
    }
}

void TestForm1::presetDomainIsSelectedAndReplacedByTyping()
{
    auto form = makeForm(1);
    auto *domain = form->findChild<QLineEdit *>(QStringLiteral("txtDomain"));
    QCOMPARE(domain->selectionStart(), 0);
    QCOMPARE(domain->selectedText(), domain->text());
    QTest::keyClicks(domain, QStringLiteral("x"));
    QCOMPARE(domain->text(), QStringLiteral("x"));
}

void TestForm1::helpShowsItsBox()
{
    auto form = makeForm(1);
    menuItem(form.get(), "mnuHelp2")->trigger();
    const auto shown = MessageBox::takeShown();
    QCOMPARE(shown.size(), 1);
    QCOMPARE(shown[0].prompt, QStringLiteral("If you need help with this simple program, then you REALLY need help!"));
    QCOMPARE(shown[0].title, QStringLiteral("Really?"));
    QCOMPARE(shown[0].icon, MessageBox::Icon::Information);
}

void TestForm1::queryShowsTheReplyAndRestoresThePointer()
{
    FakeWhoisServer server;
    server.send("Domain Name: MARROWBY.COM\r\n").close();
    auto form = makeForm(server.port());
    auto *domain = form->findChild<QLineEdit *>(QStringLiteral("txtDomain"));
    auto *response = form->findChild<ReplyBox *>(QStringLiteral("txtResponse"));
    domain->setText(QStringLiteral(" Marrowby.com "));

    QString textDuringQuery;
    Qt::CursorShape pointerDuringQuery = Qt::ArrowCursor;
    connect(&server, &FakeWhoisServer::queryReceived, this, [&] {
        textDuringQuery = response->text();
        if (const QCursor *cursor = QGuiApplication::overrideCursor())
            pointerDuringQuery = cursor->shape();
    });

    QVERIFY(queryAndWait(*form));
    // The text reaches the component as typed; the component asks for the
    // name without the spaces around it, in the case typed.
    QCOMPARE(server.received(), QByteArray("domain Marrowby.com\r\n"));
    QCOMPARE(textDuringQuery, QStringLiteral("Querying remote server..."));
    QCOMPARE(pointerDuringQuery, Qt::WaitCursor);
    QCOMPARE(repliesOnly(response->text()), QStringLiteral("Domain Name: MARROWBY.COM\n"));
    QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
    QVERIFY(MessageBox::takeShown().isEmpty());
}

void TestForm1::secondQueryReplacesTheFirst()
{
    FakeWhoisServer server;
    auto form = makeForm(server.port());
    auto *response = form->findChild<ReplyBox *>(QStringLiteral("txtResponse"));

    server.send("a long first reply\nwith two lines\n").close();
    QVERIFY(queryAndWait(*form));
    QCOMPARE(response->text(), QStringLiteral("a long first reply\nwith two lines\n"));

    server.clearScript();
    server.send("short").close();
    QVERIFY(queryAndWait(*form));
    QCOMPARE(response->text(), QStringLiteral("short"));
    QCOMPARE(server.connections(), 2);
}

void TestForm1::oneLineReplyArrivesWhole()
{
    QByteArray line;
    while (line.size() < 1024 * 1024)
        line += "Domain Name: MARROWBY.COM  Registrar: Marrowby  ";
    FakeWhoisServer server;
    server.send(line).close();
    auto form = makeForm(server.port());

    QVERIFY(queryAndWait(*form));
    QVERIFY(MessageBox::takeShown().isEmpty());
    QVERIFY(repliesOnly(form->findChild<ReplyBox *>(QStringLiteral("txtResponse"))->text()) == QString::fromLatin1(line));
}

void TestForm1::failedQueryKeepsTheProgressTextAndRunsOn()
{
    const ClosedPort closed;
    auto form = makeForm(closed.port());
    auto *response = form->findChild<ReplyBox *>(QStringLiteral("txtResponse"));
    response->setText(QStringLiteral("an earlier reply"));

    QVERIFY(queryAndWait(*form));
    const auto shown = MessageBox::takeShown();
    QCOMPARE(shown.size(), 1);
    QVERIFY2(shown[0].prompt.startsWith(QLatin1String("Error: \r\nThe WHOIS server 127.0.0.1:")),
             qPrintable(shown[0].prompt));
    QVERIFY(shown[0].prompt.endsWith(QLatin1String("refused the connection.")));
    QCOMPARE(shown[0].title, QStringLiteral("Holdrin"));
    QCOMPARE(shown[0].icon, MessageBox::Icon::None);
    QCOMPARE(response->text(), QStringLiteral("Querying remote server..."));
    QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
    QVERIFY(form->isVisible());
}

void TestForm1::exitClosesEveryWindow_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("button") << QStringLiteral("button");
    QTest::newRow("menu") << QStringLiteral("menu");
    QTest::newRow("Esc") << QStringLiteral("escape");
}

void TestForm1::exitClosesEveryWindow()
{
    QFETCH(QString, how);
    auto form = makeForm(1);
    QWidget other;
    other.show();
    QApplication::setActiveWindow(form.get());
    QVERIFY(QTest::qWaitForWindowActive(form.get()));

    if (how == QLatin1String("button"))
        QTest::mouseClick(form->findChild<QPushButton *>(QStringLiteral("cmdExit")), Qt::LeftButton);
    else if (how == QLatin1String("menu"))
        menuItem(form.get(), "mnuExit")->trigger();
    else
        QTest::keyClick(form->findChild<QLineEdit *>(QStringLiteral("txtDomain")), Qt::Key_Escape);

    QVERIFY(!form->isVisible());
    QVERIFY(!other.isVisible());
    clearQuitRequest();
}

HOLDRIN_TEST_MAIN(TestForm1)
#include "tst_form1.moc"
