// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Marrowby Industries

#include "FakeOpener.h"
#include "TestMain.h"

#include "app/Form1.h"
#include "common/Failure.h"
#include "ui/Maker.h"
#include "ui/MessageBox.h"

#include <QLineEdit>
#include <QUrl>

namespace {
using Operation = void (Form1::*)();
} // namespace

Q_DECLARE_METATYPE(Operation)

class TestShellLauncher : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void addressesAgreeWithThePresetDomain();
    void linkHandsExactlyOneAddressToTheDesktop_data();
    void linkHandsExactlyOneAddressToTheDesktop();
    void nothingToOpenWithIsReported_data();
    void nothingToOpenWithIsReported();
};

void TestShellLauncher::init()
{
    MessageBox::setPresetAnswer(true);
}

void TestShellLauncher::addressesAgreeWithThePresetDomain()
{
    const QUrl site(Maker::webSite());
    QCOMPARE(site.scheme(), QStringLiteral("https"));
    QCOMPARE(site.host(), QLatin1String("www.") + Maker::domain());
    QCOMPARE(Maker::authorEmail().section(QLatin1Char('@'), 1), Maker::domain());

    Form1 form;
    QCOMPARE(form.findChild<QLineEdit *>(QStringLiteral("txtDomain"))->text(), Maker::domain());
    QCOMPARE(QCoreApplication::organizationName(), Maker::name());
    QCOMPARE(QCoreApplication::organizationDomain(), Maker::domain());
}

void TestShellLauncher::linkHandsExactlyOneAddressToTheDesktop_data()
{
    QTest::addColumn<Operation>("operation");
    QTest::addColumn<QString>("address");
    QTest::newRow("web site") << Operation(&Form1::GoMarrowby) << QStringLiteral("https://www.marrowby.com/");
    QTest::newRow("mail") << Operation(&Form1::EMailAuthor) << QStringLiteral("mailto:holdrin@marrowby.com");
}

void TestShellLauncher::linkHandsExactlyOneAddressToTheDesktop()
{
    QFETCH(Operation, operation);
    QFETCH(QString, address);
    FakeOpener opener;
    Form1 form;

    (form.*operation)();
    QCOMPARE(opener.addresses(), QStringList{address});
    QVERIFY(MessageBox::takeShown().isEmpty());

    // StartDoc gives the address back unchanged, with the desktop's status.
    QString dofile = address;
    QCOMPARE(form.StartDoc(dofile), 1);
    QCOMPARE(dofile, address);
    QCOMPARE(opener.addresses(), QStringList({address, address}));
}

void TestShellLauncher::nothingToOpenWithIsReported_data()
{
    linkHandsExactlyOneAddressToTheDesktop_data();
}

void TestShellLauncher::nothingToOpenWithIsReported()
{
    QFETCH(Operation, operation);
    QFETCH(QString, address);
    FakeOpener opener(FakeOpener::Kind::Missing);
    Form1 form;
    form.show();

    // StartDoc lets the failure through, naming the address...
    try {
        form.StartDoc(address);
        QFAIL("StartDoc reported a launch that could not start");
    } catch (const Failure &e) {
        QVERIFY2(e.description().contains(address), e.what());
    }

    // ...which the link turns into one box, naming the browser even for the
    // mail, and the program runs on.
    (form.*operation)();
    const auto shown = MessageBox::takeShown();
    QCOMPARE(shown.size(), 1);
    QCOMPARE(shown[0].prompt,
             QStringLiteral("There was an error launching your default web browser or connecting to the internet."));
    QCOMPARE(shown[0].title, QStringLiteral("Holdrin"));
    QCOMPARE(shown[0].icon, MessageBox::Icon::Critical);
    QVERIFY(form.isVisible());
}

HOLDRIN_TEST_MAIN(TestShellLauncher)
#include "tst_shelllauncher.moc"
