// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Marrowby Industries

#include "FakeOpener.h"
#include "TestMain.h"

#include "about/frmAbout.h"
#include "app/Form1.h"
#include "ui/Maker.h"
#include "ui/MessageBox.h"

#include <QAccessible>
#include <QAction>
#include <QLabel>
#include <QPointer>
#include <QPushButton>

#include <functional>

namespace {
// Opens the About window from the Help menu, as the user does, runs the
// action on it while it is up, and returns once it has closed. Returns
// whether the window showed modally over the form and closed by the action
// alone.
bool aboutClosesAfter(Form1 &form, const std::function<void(frmAbout *)> &action)
{
    bool shownModally = false;
    bool closedByAction = false;
    QTimer::singleShot(0, &form, [&] {
        QWidget *modal = QApplication::activeModalWidget();
        auto *about = qobject_cast<frmAbout *>(modal);
        if (!about) {
            if (modal)
                modal->close();
            return;
        }
        shownModally = about->parent() == &form;
        QApplication::setActiveWindow(about);
        action(about);
        closedByAction = !about->isVisible();
        // A window the action left open is closed here, so the test ends.
        about->close();
    });
    form.findChild<QAction *>(QStringLiteral("mnuAbout"))->trigger();
    return shownModally && closedByAction && !form.findChild<frmAbout *>();
}

// Moves the focus with Tab, as the user does, until it reaches the target.
bool tabTo(QWidget *window, QWidget *target)
{
    if (!QTest::qWaitForWindowActive(window))
        return false;
    for (int i = 0; i < 3 && QApplication::focusWidget() != target; ++i)
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    return QApplication::focusWidget() == target;
}

template<typename Widget = QWidget>
Widget *child(QWidget *parent, const char *name)
{
    return parent->findChild<Widget *>(QLatin1String(name));
}

QColor textColour(QWidget *widget)
{
    return widget->palette().color(QPalette::WindowText);
}
} // namespace

class TestAbout : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void windowMatchesTheDesign();
    void ruleIsWhiteUnderYellow();
    void everyCloseActionClosesTheWindow_data();
    void everyCloseActionClosesTheWindow();
    void linkOpensItsAddressThenCloses_data();
    void linkOpensItsAddressThenCloses();
    void failedLinkIsReportedAndStillCloses_data();
    void failedLinkIsReportedAndStillCloses();
    void reopenedWindowIsBuiltAfresh();
    void focusedLinkIsMarked();
};

void TestAbout::init()
{
    MessageBox::setPresetAnswer(true);
}

void TestAbout::windowMatchesTheDesign()
{
    Form1 form;
    frmAbout about(&form);
    about.show();
    QVERIFY(QTest::qWaitForWindowExposed(&about));

    QCOMPARE(about.objectName(), QStringLiteral("frmAbout"));
    QCOMPARE(about.windowTitle(), QStringLiteral("About Holdrin"));
    QCOMPARE(about.size(), QSize(495, 337));
    QCOMPARE(about.minimumSize(), about.maximumSize());
    QVERIFY(!(about.windowFlags() & (Qt::WindowMaximizeButtonHint | Qt::WindowMinimizeButtonHint)));
    QCOMPARE(about.palette().color(QPalette::Window), QColor(0, 0, 0));
    QVERIFY(about.autoFillBackground());

    const QColor white(255, 255, 255);
    const QColor yellow(255, 255, 0);
    const QColor cyan(0, 255, 255);
    const struct {
        const char *name;
        QRect rect;
        QColor colour;
    } controls[] = {
        {"cmdOK", QRect(384, 288, 98, 39), QColor()},
        {"picIcon", QRect(312, 8, 34, 34), QColor()},
        {"lblDisclaimer", QRect(17, 240, 466, 47), cyan},
        {"lblVersion", QRect(352, 48, 73, 15), white},
        {"lblTitle", QRect(352, 16, 129, 32), yellow},
        {"lblDescription", QRect(352, 88, 127, 110), cyan},
        {"Label1", QRect(16, 280, 257, 17), yellow},
        {"Label2", QRect(16, 304, 257, 17), yellow},
        {"Image2", QRect(8, 8, 306, 209), QColor()},
    };
    for (const auto &c : controls) {
        QWidget *widget = child(&about, c.name);
        QVERIFY2(widget, c.name);
        QCOMPARE(widget->geometry(), c.rect);
        if (c.colour.isValid()) {
            QCOMPARE(textColour(widget), c.colour);
            QVERIFY2(!widget->autoFillBackground(), c.name);
        }
    }

    QCOMPARE(child<QPushButton>(&about, "cmdOK")->text(), QStringLiteral("OK"));
    QCOMPARE(child<QLabel>(&about, "lblVersion")->text(), QStringLiteral("Version 1.0"));
    QCOMPARE(child<QLabel>(&about, "lblTitle")->text(), QStringLiteral("Holdrin"));
    QVERIFY(child<QLabel>(&about, "lblDescription")->text().startsWith(QLatin1String("Do a Who Is look up of a domain.")));
    const QString disclaimer = child<QLabel>(&about, "lblDisclaimer")->text();
    QVERIFY(disclaimer.contains(Maker::name()));
    QVERIFY(disclaimer.endsWith(QLatin1String("For the latest updates, visit our web site:")));
    QCOMPARE(child<QLabel>(&about, "Label1")->text(), Maker::webSite());
    QCOMPARE(child<QLabel>(&about, "Label2")->text(), Maker::authorEmail());

    // The OK button has a white face and is pressed by Enter and Esc.
    auto *ok = child<QPushButton>(&about, "cmdOK");
    QCOMPARE(ok->palette().color(QPalette::Button), white);
    QVERIFY(ok->isDefault());
    QCOMPARE(QApplication::focusWidget(), ok);

    QCOMPARE(child<QLabel>(&about, "Image2")->pixmap().size(), QSize(306, 209));
    QCOMPARE(child<QLabel>(&about, "picIcon")->pixmap().size(), QSize(32, 32));

    const QFont title = child(&about, "lblTitle")->font();
    QCOMPARE(title.family(), QStringLiteral("Comic Sans MS"));
    QCOMPARE(title.pointSize(), 12);
    for (const char *name : {"Label1", "Label2"}) {
        const QFont link = child(&about, name)->font();
        QCOMPARE(link.family(), QStringLiteral("MS Sans Serif"));
        QCOMPARE(link.pointSizeF(), 8.25);
        QVERIFY(link.underline());
        QCOMPARE(QAccessible::queryAccessibleInterface(child(&about, name))->role(), QAccessible::Link);
    }
    for (const char *name : {"lblDescription", "lblVersion", "lblDisclaimer"})
        QCOMPARE(child(&about, name)->font(), about.font());

    // Tab goes from OK through the two links and back.
    QStringList order;
    QWidget *w = ok;
    for (int i = 0; i < 4; ++i) {
        order << w->objectName();
        do
            w = w->nextInFocusChain();
        while (!(w->focusPolicy() & Qt::TabFocus));
    }
    QCOMPARE(order, QStringList({QStringLiteral("cmdOK"), QStringLiteral("Label1"), QStringLiteral("Label2"),
                                 QStringLiteral("cmdOK")}));
}

void TestAbout::ruleIsWhiteUnderYellow()
{
    Form1 form;
    frmAbout about(&form);
    about.show();
    QVERIFY(QTest::qWaitForWindowExposed(&about));
    const QImage image = about.grab().toImage();
    const QColor black(0, 0, 0);
    const QColor white(255, 255, 255);
    const QColor yellow(255, 255, 0);
    QCOMPARE(image.pixelColor(16, 232), yellow);
    QCOMPARE(image.pixelColor(248, 232), yellow);
    QCOMPARE(image.pixelColor(480, 232), yellow);
    QCOMPARE(image.pixelColor(248, 233), white);
    QCOMPARE(image.pixelColor(248, 231), black);
    QCOMPARE(image.pixelColor(248, 234), black);
    QCOMPARE(image.pixelColor(15, 232), black);
    QCOMPARE(image.pixelColor(481, 232), black);
}

void TestAbout::everyCloseActionClosesTheWindow_data()
{
    QTest::addColumn<QByteArray>("focus");
    QTest::addColumn<QString>("how");
    QTest::newRow("OK clicked") << QByteArray("cmdOK") << QStringLiteral("click");
    QTest::newRow("Enter") << QByteArray("cmdOK") << QStringLiteral("enter");
    QTest::newRow("Esc") << QByteArray("cmdOK") << QStringLiteral("escape");
    QTest::newRow("close control") << QByteArray("cmdOK") << QStringLiteral("close");
    // Enter and Esc are OK's whatever has the focus; a focused link opens nothing.
    QTest::newRow("Enter on the web link") << QByteArray("Label1") << QStringLiteral("enter");
    QTest::newRow("Enter on the mail link") << QByteArray("Label2") << QStringLiteral("enter");
    QTest::newRow("Esc on the web link") << QByteArray("Label1") << QStringLiteral("escape");
}

void TestAbout::everyCloseActionClosesTheWindow()
{
    QFETCH(QByteArray, focus);
    QFETCH(QString, how);
    FakeOpener opener;
    Form1 form;
    form.show();
    QVERIFY(aboutClosesAfter(form, [&](frmAbout *about) {
        QVERIFY(tabTo(about, child(about, focus.constData())));
        if (how == QLatin1String("click"))
            QTest::mouseClick(child<QPushButton>(about, "cmdOK"), Qt::LeftButton);
        else if (how == QLatin1String("enter"))
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        else if (how == QLatin1String("escape"))
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        else
            about->close();
    }));
    // Esc in the About window is not Esc in the main window, which exits.
    QVERIFY(form.isVisible());
    QCOMPARE(opener.addresses(), QStringList());
    QVERIFY(MessageBox::takeShown().isEmpty());
}

void TestAbout::linkOpensItsAddressThenCloses_data()
{
    QTest::addColumn<QByteArray>("link");
    QTest::addColumn<QString>("how");
    QTest::addColumn<QString>("address");
    const QString site = QStringLiteral("https://www.marrowby.com/");
    const QString mail = QStringLiteral("mailto:holdrin@marrowby.com");
    QTest::newRow("web site, clicked") << QByteArray("Label1") << QStringLiteral("click") << site;
    QTest::newRow("mail, clicked") << QByteArray("Label2") << QStringLiteral("click") << mail;
    QTest::newRow("web site, Space") << QByteArray("Label1") << QStringLiteral("space") << site;
    QTest::newRow("mail, Space") << QByteArray("Label2") << QStringLiteral("space") << mail;
    QTest::newRow("web site, screen reader") << QByteArray("Label1") << QStringLiteral("reader") << site;
}

void TestAbout::linkOpensItsAddressThenCloses()
{
    QFETCH(QByteArray, link);
    QFETCH(QString, how);
    QFETCH(QString, address);
    FakeOpener opener;
    Form1 form;
    form.show();

    QVERIFY(aboutClosesAfter(form, [&](frmAbout *about) {
        QWidget *label = child(about, link.constData());
        if (how == QLatin1String("click")) {
            QTest::mouseClick(label, Qt::LeftButton);
        } else if (how == QLatin1String("space")) {
            QVERIFY(tabTo(about, label));
            QTest::keyClick(label, Qt::Key_Space);
        } else {
            QAccessible::queryAccessibleInterface(label)->actionInterface()->doAction(
                QAccessibleActionInterface::pressAction());
        }
    }));

    QCOMPARE(opener.addresses(), QStringList{address});
    QVERIFY(MessageBox::takeShown().isEmpty());
}

void TestAbout::failedLinkIsReportedAndStillCloses_data()
{
    QTest::addColumn<QByteArray>("link");
    QTest::newRow("web site") << QByteArray("Label1");
    QTest::newRow("mail") << QByteArray("Label2");
}

void TestAbout::failedLinkIsReportedAndStillCloses()
{
    QFETCH(QByteArray, link);
    FakeOpener opener(FakeOpener::Kind::Missing);
    Form1 form;
    form.show();

    QVERIFY(aboutClosesAfter(form, [&](frmAbout *about) { QTest::mouseClick(child(about, link.constData()), Qt::LeftButton); }));

    const auto shown = MessageBox::takeShown();
    QCOMPARE(shown.size(), 1);
    QCOMPARE(shown[0].prompt,
             QStringLiteral("There was an error launching your default web browser or connecting to the internet."));
    QCOMPARE(shown[0].icon, MessageBox::Icon::Critical);
    QVERIFY(form.isVisible());
}

void TestAbout::reopenedWindowIsBuiltAfresh()
{
    Form1 form;
    form.show();
    QPointer<frmAbout> first;
    QVERIFY(aboutClosesAfter(form, [&](frmAbout *about) {
        first = about;
        // Leave the first window with the focus moved and its title changed.
        child(about, "Label2")->setFocus();
        about->setWindowTitle(QStringLiteral("changed"));
        QTest::keyClick(about, Qt::Key_Escape);
    }));
    QVERIFY(first.isNull());

    QString title;
    QString focused;
    QString site;
    QVERIFY(aboutClosesAfter(form, [&](frmAbout *about) {
        title = about->windowTitle();
        focused = QApplication::focusWidget() ? QApplication::focusWidget()->objectName() : QString();
        site = child<QLabel>(about, "Label1")->text();
        QTest::keyClick(about, Qt::Key_Escape);
    }));
    QCOMPARE(title, QStringLiteral("About Holdrin"));
    QCOMPARE(focused, QStringLiteral("cmdOK"));
    QCOMPARE(site, Maker::webSite());
}

void TestAbout::focusedLinkIsMarked()
{
    Form1 form;
    frmAbout about(&form);
    about.show();
    QApplication::setActiveWindow(&about);
    QVERIFY(QTest::qWaitForWindowActive(&about));
    QWidget *link = child(&about, "Label1");
    const auto yellowPixels = [link] {
        const QImage image = link->grab().toImage();
        int count = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                count += image.pixelColor(x, y) == QColor(255, 255, 0);
        return count;
    };
    const int unfocused = yellowPixels();

    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), link);
    QVERIFY2(yellowPixels() > unfocused + 20, "no focus frame around the focused link");
}

HOLDRIN_TEST_MAIN(TestAbout)
#include "tst_about.moc"
