// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Marrowby Industries

#include "FileHelpers.h"
#include "TestMain.h"

#include "app/Form1.h"
#include "output/Form2.h"
#include "output/PrintCommand.h"
#include "output/PrintPreview.h"
#include "query/WhoisClient.h"
#include "ui/MessageBox.h"
#include "ui/ReplyBox.h"

#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>

namespace {
// What the print window saw while it was open.
struct Seen {
    bool opened = false;
    QByteArray fileBytes;
    QString filePath;
    QString body;
};

// Closes the print window as soon as it shows, by its button or by its
// close control, after noting what it was given.
void closeWhenShown(QObject *context, Seen &seen, bool byButton = true)
{
    QTimer::singleShot(0, context, [&seen, byButton] {
        auto *form = qobject_cast<Form2 *>(QApplication::activeModalWidget());
        QVERIFY(form);
        seen.opened = true;
        auto *vp = form->findChild<PrintPreview *>(QStringLiteral("vp"));
        seen.filePath = vp->footer().section(QLatin1String("||"), 1);
        seen.fileBytes = readAll(seen.filePath);
        seen.body = vp->text();
        if (byButton)
            QTest::mouseClick(form->findChild<QPushButton *>(QStringLiteral("Command1")), Qt::LeftButton);
        else
            form->close();
    });
}
} // namespace

class TestPrintCommand : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void printFileLastsAsLongAsTheWindow_data();
    void printFileLastsAsLongAsTheWindow();
    void emptyReplyIsRefused();
    void leftoverPrintFileIsReplacedAndRemoved();
    void unwritableApplicationDirFallsBack_data();
    void unwritableApplicationDirFallsBack();
    void noWritablePlaceIsReportedAndTheProgramRunsOn();
    void menuPrintsFromTheApplicationDir();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestPrintCommand::init()
{
    MessageBox::setPresetAnswer(true);
    m_dir = std::make_unique<QTemporaryDir>();
}

void TestPrintCommand::printFileLastsAsLongAsTheWindow_data()
{
    QTest::addColumn<QString>("reply");
    QTest::addColumn<bool>("byButton");
    QTest::addColumn<QByteArray>("fileBytes");
    QTest::addColumn<QString>("body");
    QTest::newRow("closed by Exit") << QStringLiteral("Domain Name: X") << true << QByteArray("Domain Name: X\r\n")
                                    << QStringLiteral("Domain Name: X\r\n");
    QTest::newRow("closed by the close control") << QStringLiteral("a\nb") << false << QByteArray("a\nb\r\n")
                                                 << QStringLiteral("a\nb\r\n");
    QTest::newRow("only spaces are printed") << QStringLiteral("   ") << true << QByteArray("   \r\n")
                                             << QStringLiteral("   \r\n");
    QTest::newRow("web page: no body") << QStringLiteral("<Html>x") << true << QByteArray("<Html>x\r\n") << QString();
}

void TestPrintCommand::printFileLastsAsLongAsTheWindow()
{
    QFETCH(QString, reply);
    QFETCH(bool, byButton);
    QFETCH(QByteArray, fileBytes);
    QFETCH(QString, body);
    PrintCommand command(nullptr, m_dir->path(), m_dir->filePath(QStringLiteral("unused")));
    Seen seen;
    closeWhenShown(this, seen, byButton);
    command.run(reply);

    QVERIFY(seen.opened);
    QCOMPARE(seen.filePath, m_dir->filePath(QStringLiteral("Tempfile.txt")));
    QCOMPARE(seen.fileBytes, fileBytes);
    QCOMPARE(seen.body, body);
    QVERIFY(!QFile::exists(seen.filePath));
    QVERIFY(MessageBox::takeShown().isEmpty());
    QCOMPARE(QApplication::activeModalWidget(), nullptr);
    // The window is made afresh for every print and gone afterwards.
    for (QWidget *window : QApplication::topLevelWidgets())
        QVERIFY(!qobject_cast<Form2 *>(window));
}

void TestPrintCommand::emptyReplyIsRefused()
{
    const QString reply = QString();
    PrintCommand command(nullptr, m_dir->path());
    command.run(reply);
    const auto shown = MessageBox::takeShown();
    QCOMPARE(shown.size(), 1);
    QCOMPARE(shown[0].prompt, QStringLiteral("There is nothing to print. Please query a domain."));
    QCOMPARE(shown[0].title, QStringLiteral("No info"));
    QCOMPARE(shown[0].icon, MessageBox::Icon::Information);
    QVERIFY(QDir(m_dir->path()).isEmpty());
}

void TestPrintCommand::leftoverPrintFileIsReplacedAndRemoved()
{
    const QString path = m_dir->filePath(QStringLiteral("Tempfile.txt"));
    writeAll(path, QByteArray(5000, 'o'));
    const QString reply = QStringLiteral("new");
    PrintCommand command(nullptr, m_dir->path());
    Seen seen;
    closeWhenShown(this, seen);
    command.run(reply);
    QCOMPARE(seen.fileBytes, QByteArray("new\r\n"));
    QVERIFY(!QFile::exists(path));
}

void TestPrintCommand::unwritableApplicationDirFallsBack_data()
{
    QTest::addColumn<QString>("applicationDir");
    // Neither can be written, even by root.
    QTest::newRow("a file where the folder should be") << QStringLiteral("plain-file");
    QTest::newRow("/proc") << QStringLiteral("/proc");
}

void TestPrintCommand::unwritableApplicationDirFallsBack()
{
    QFETCH(QString, applicationDir);
    writeAll(m_dir->filePath(QStringLiteral("plain-file")), "keep");
    const QString appDir = QDir(m_dir->path()).filePath(applicationDir);
    const QString runtimeDir = m_dir->filePath(QStringLiteral("runtime"));
    QVERIFY(QDir().mkpath(runtimeDir));

    const QString reply = QStringLiteral("reply");
    PrintCommand command(nullptr, appDir, runtimeDir);
    Seen seen;
    closeWhenShown(this, seen);
    command.run(reply);

    QVERIFY(seen.opened);
    QCOMPARE(seen.filePath, QDir(runtimeDir).filePath(QStringLiteral("Tempfile.txt")));
    QCOMPARE(seen.fileBytes, QByteArray("reply\r\n"));
    QVERIFY(!QFile::exists(seen.filePath));
    QVERIFY(MessageBox::takeShown().isEmpty());
    QCOMPARE(readAll(m_dir->filePath(QStringLiteral("plain-file"))), QByteArray("keep"));
}

void TestPrintCommand::noWritablePlaceIsReportedAndTheProgramRunsOn()
{
    const QString blocked = m_dir->filePath(QStringLiteral("plain-file"));
    writeAll(blocked, "keep");
    const QString reply = QStringLiteral("reply");
    PrintCommand command(nullptr, blocked, QStringLiteral("/proc"));
    bool windowOpened = false;
    QTimer::singleShot(0, this, [&] {
        if (auto *modal = QApplication::activeModalWidget()) {
            windowOpened = true;
            modal->close();
        }
    });
    command.run(reply);

    QVERIFY(!windowOpened);
    const auto shown = MessageBox::takeShown();
    QCOMPARE(shown.size(), 1);
    QCOMPARE(shown[0].icon, MessageBox::Icon::Critical);
    QVERIFY2(shown[0].prompt.contains(blocked + QLatin1String("/Tempfile.txt: ")), qPrintable(shown[0].prompt));
    QVERIFY2(shown[0].prompt.contains(QLatin1String("/proc/Tempfile.txt: ")), qPrintable(shown[0].prompt));
    // Let the timer above run out before the next test.
    QCoreApplication::processEvents();
}

void TestPrintCommand::menuPrintsFromTheApplicationDir()
{
    Form1 form(std::make_unique<WhoisClient>(QStringLiteral("127.0.0.1"), 1));
    form.show();
    auto *response = form.findChild<ReplyBox *>(QStringLiteral("txtResponse"));
    QAction *print = form.findChild<QAction *>(QStringLiteral("mnuPrint"));

    print->trigger();
    QCOMPARE(MessageBox::takeShown().size(), 1);

    response->setText(QStringLiteral("typed by hand"));
    Seen seen;
    closeWhenShown(this, seen);
    print->trigger();
    QVERIFY(seen.opened);
    QCOMPARE(seen.filePath, QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("Tempfile.txt")));
    QCOMPARE(seen.fileBytes, QByteArray("typed by hand\r\n"));
    QVERIFY(!QFile::exists(seen.filePath));
}

HOLDRIN_TEST_MAIN(TestPrintCommand)
#include "tst_printcommand.moc"
