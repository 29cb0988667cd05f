#include "FakeOpener.h"
#include "TestMain.h"

#include "app/Form1.h"
#include "ui/Failure.h"
#include "ui/Maker.h"
#include "ui/MessageBox.h"

#include <QLineEdit>
#include <QUrl>

namespace {
const QString LaunchFailed =
    QStringLiteral("There was an error launching your default web browser or connecting to the internet.");

using Operation = void (Form1::*)();
} // namespace

Q_DECLARE_METATYPE(Operation)
Q_DECLARE_METATYPE(FakeOpener::Kind)

class TestShellLauncher : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void addressesAgreeWithThePresetDomain();
    void linkHandsExactlyOneAddressToTheOpener_data();
    void linkHandsExactlyOneAddressToTheOpener();
    void startDocReturnsAtOnceAndKeepsTheAddress();
    void unstartableOpenerIsReported_data();
    void unstartableOpenerIsReported();
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

void TestShellLauncher::linkHandsExactlyOneAddressToTheOpener_data()
{
    QTest::addColumn<Operation>("operation");
    QTest::addColumn<QString>("address");
    QTest::newRow("web site") << Operation(&Form1::GoMarrowby) << QStringLiteral("https://www.marrowby.com/");
    QTest::newRow("mail") << Operation(&Form1::EMailAuthor) << QStringLiteral("mailto:holdrin@marrowby.com");
}

void TestShellLauncher::linkHandsExactlyOneAddressToTheOpener()
{
    QFETCH(Operation, operation);
    QFETCH(QString, address);
    FakeOpener opener;
    Form1 form;

    (form.*operation)();

    // Started in the root directory, with the address as its only argument.
    const auto calls = opener.calls();
    QCOMPARE(calls.size(), 1);
    QCOMPARE(calls[0], QStringList({QStringLiteral("/"), QStringLiteral("1"), address}));
    QVERIFY(MessageBox::takeShown().isEmpty());
}

void TestShellLauncher::startDocReturnsAtOnceAndKeepsTheAddress()
{
    // The opener stays until released; a StartDoc that waited for it would
    // only come back once the fake had given up.
    FakeOpener opener(FakeOpener::Kind::Lingering);
    Form1 form;
    const QString address = QStringLiteral("https://example.invalid/a page?x=1&y='2'");
    QString dofile = address;

    const qint32 status = form.StartDoc(dofile);

    QVERIFY(!opener.gaveUp());
    QCOMPARE(dofile, address);
    QVERIFY(status > 0);
    const auto calls = opener.calls();
    QCOMPARE(calls.size(), 1);
    QCOMPARE(calls[0], QStringList({QStringLiteral("/"), QStringLiteral("1"), address}));
    opener.release();
}

void TestShellLauncher::unstartableOpenerIsReported_data()
{
    QTest::addColumn<FakeOpener::Kind>("kind");
    QTest::addColumn<Operation>("operation");
    const struct {
        const char *name;
        FakeOpener::Kind kind;
    } kinds[] = {
        {"no opener", FakeOpener::Kind::Missing},
        {"opener not executable", FakeOpener::Kind::NotExecutable},
        {"opener's interpreter missing", FakeOpener::Kind::Unstartable},
    };
    for (const auto &k : kinds) {
        QTest::addRow("%s, web site", k.name) << k.kind << Operation(&Form1::GoMarrowby);
        QTest::addRow("%s, mail", k.name) << k.kind << Operation(&Form1::EMailAuthor);
    }
}

void TestShellLauncher::unstartableOpenerIsReported()
{
    QFETCH(FakeOpener::Kind, kind);
    QFETCH(Operation, operation);
    FakeOpener opener(kind);
    Form1 form;
    form.show();

    // StartDoc lets the failure through, with a reason...
    try {
        form.StartDoc(Maker::webSite());
        QFAIL("StartDoc reported a launch that could not start");
    } catch (const Failure &e) {
        QVERIFY2(e.description().contains(QLatin1String("xdg-open")), e.what());
    }

    // ...which the link turns into one box, naming the browser even for the
    // mail, and the program runs on.
    (form.*operation)();
    const auto shown = MessageBox::takeShown();
    QCOMPARE(shown.size(), 1);
    QCOMPARE(shown[0].prompt, LaunchFailed);
    QCOMPARE(shown[0].title, QStringLiteral("Holdrin"));
    QCOMPARE(shown[0].icon, MessageBox::Icon::Critical);
    QVERIFY(form.isVisible());
}

HOLDRIN_TEST_MAIN(TestShellLauncher)
#include "tst_shelllauncher.moc"
