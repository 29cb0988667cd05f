// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Marrowby Industries

#include "TestMain.h"

#include "ui/MessageBox.h"

#include <QAbstractButton>
#include <QEventLoop>
#include <QFile>
#include <QMessageBox>
#include <QProcess>
#include <QTemporaryDir>

#include <stdexcept>

namespace {
class Throwing : public QObject
{
public:
    bool event(QEvent *event) override
    {
        if (event->type() == QEvent::User)
            throw std::runtime_error("the disk caught fire");
        return QObject::event(event);
    }
};
} // namespace

class TestApplication : public QObject
{
    Q_OBJECT

private slots:
    void realBoxIsAnsweredByClickingOk();
    void unhandledFailureIsReportedAndEndsTheProgram();
    void closingWhileANameResolvesEndsAtOnce_data();
    void closingWhileANameResolvesEndsAtOnce();
};

void TestApplication::realBoxIsAnsweredByClickingOk()
{
    MessageBox::setPresetAnswer(false);
    QString seenText;
    QString seenTitle;
    bool seenIcon = true;
    QTimer::singleShot(0, this, [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        QVERIFY(box);
        seenText = box->text();
        seenTitle = box->windowTitle();
        seenIcon = box->icon() != QMessageBox::NoIcon;
        QTest::mouseClick(box->button(QMessageBox::Ok), Qt::LeftButton);
    });
    MessageBox::show(nullptr, QStringLiteral("Error: \r\nThe server went away."));
    // The box shows the CR LF as one line break and carries the program's title.
    QCOMPARE(seenText, QStringLiteral("Error: \nThe server went away."));
    QCOMPARE(seenTitle, QStringLiteral("Holdrin"));
    QVERIFY(!seenIcon);
    QCOMPARE(QApplication::activeModalWidget(), nullptr);
}

void TestApplication::unhandledFailureIsReportedAndEndsTheProgram()
{
    MessageBox::setPresetAnswer(true);
    Throwing target;
    QEventLoop loop;
    QTimer::singleShot(0, &target, [&] { QCoreApplication::postEvent(&target, new QEvent(QEvent::User)); });
    QTimer::singleShot(60000, &loop, [&] { loop.exit(0); });
    QCOMPARE(loop.exec(), EXIT_FAILURE);

    const auto shown = MessageBox::takeShown();
    QCOMPARE(shown.size(), 1);
    QCOMPARE(shown[0].icon, MessageBox::Icon::Critical);
    QCOMPARE(shown[0].title, QStringLiteral("Holdrin"));
    QVERIFY(shown[0].prompt.endsWith(QLatin1String("the disk caught fire")));
}

void TestApplication::closingWhileANameResolvesEndsAtOnce_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::newRow("while the lookup waits") << QStringList();
    QTest::newRow("after Esc stopped the lookup") << QStringList{QStringLiteral("stop-first")};
}

void TestApplication::closingWhileANameResolvesEndsAtOnce()
{
    QFETCH(QStringList, arguments);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString mark = dir.filePath(QStringLiteral("resolving"));
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("LD_PRELOAD"), QStringLiteral(HOLDRIN_SLOW_RESOLVER));
    environment.insert(QStringLiteral("HOLDRIN_RESOLVING_MARK"), mark);
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    // The sanitizers' runtime would otherwise refuse a library loaded ahead of it.
    environment.insert(QStringLiteral("ASAN_OPTIONS"),
                       environment.value(QStringLiteral("ASAN_OPTIONS")) + QLatin1String(":verify_asan_link_order=0"));
    QProcess program;
    program.setProcessEnvironment(environment);
    program.setProcessChannelMode(QProcess::ForwardedChannels);
    program.start(QStringLiteral(HOLDRIN_EXIT_PROBE), arguments);

    // The resolver takes ten minutes; the program ends long before.
    QVERIFY(program.waitForFinished(120000));
    QVERIFY(QFile::exists(mark));
    QCOMPARE(program.exitStatus(), QProcess::NormalExit);
    QCOMPARE(program.exitCode(), 0);
}

HOLDRIN_TEST_MAIN_WITH(TestApplication, Application)
#include "tst_application.moc"
