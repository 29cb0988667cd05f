#include "FileHelpers.h"
#include "TestMain.h"

#include "app/Form1.h"
#include "output/FileDialog.h"
#include "query/WhoisClient.h"
#include "ui/MessageBox.h"
#include "ui/ReplyBox.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QTemporaryDir>

#include <csignal>
#include <sys/resource.h>

namespace {
// Caps the size of any file this process writes, for the lifetime of the
// object, so a write fails part-way even for root.
class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &m_old);
        m_oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = m_old;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &m_old);
        std::signal(SIGXFSZ, m_oldHandler);
    }

private:
    rlimit m_old{};
    void (*m_oldHandler)(int) = nullptr;
};
} // namespace

class TestSaveCommand : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void savesTheTextFileForm_data();
    void savesTheTextFileForm();
    void blankReplyIsRefused_data();
    void blankReplyIsRefused();
    void cancelWritesNothing();
    void savingOverAFileReplacesIt();
    void unwritablePathIsReportedAndTheProgramRunsOn_data();
    void unwritablePathIsReportedAndTheProgramRunsOn();
    void failedWriteLeavesTheExistingFileIntact();
    void realDialogAsksInTheRootAndForgetsACancelledName();

private:
    void save(const QString &reply);

    std::unique_ptr<Form1> m_form;
    ReplyBox *m_response = nullptr;
    std::unique_ptr<QTemporaryDir> m_tempDir;
    QDir m_dir;
};

void TestSaveCommand::init()
{
    MessageBox::setPresetAnswer(true);
    m_tempDir = std::make_unique<QTemporaryDir>();
    m_dir.setPath(m_tempDir->path());
    m_form = std::make_unique<Form1>(std::make_unique<WhoisClient>(QStringLiteral("127.0.0.1"), 1));
    m_form->show();
    m_response = m_form->findChild<ReplyBox *>(QStringLiteral("txtResponse"));
}

void TestSaveCommand::cleanup()
{
    FileDialog::setPresetReply(std::nullopt);
    m_form.reset();
}

void TestSaveCommand::save(const QString &reply)
{
    m_response->setText(reply);
    m_form->findChild<QAction *>(QStringLiteral("mnuSave"))->trigger();
}

void TestSaveCommand::savesTheTextFileForm_data()
{
    QTest::addColumn<QString>("reply");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("one line") << QStringLiteral("Domain Name: MARROWBY.COM") << QByteArray("Domain Name: MARROWBY.COM\r\n");
    QTest::newRow("ends in a line break") << QStringLiteral("a\nb\n") << QByteArray("a\nb\n\r\n");
    QTest::newRow("spaces kept") << QStringLiteral("  padded  ") << QByteArray("  padded  \r\n");
    QTest::newRow("only a tab") << QStringLiteral("\t") << QByteArray("\t\r\n");
    QTest::newRow("only line breaks") << QStringLiteral("\n\n") << QByteArray("\n\n\r\n");
    QTest::newRow("progress text") << QStringLiteral("Querying remote server...")
                                   << QByteArray("Querying remote server...\r\n");
    QTest::newRow("no-break spaces kept") << QStringLiteral("a\u00a0b") << QByteArray("a\xc2\xa0" "b\r\n");
    QTest::newRow("UTF-8, no BOM") << QStringLiteral("Z\u00fcrich \u00e9t\u00e9")
                                   << QByteArray("Z\xc3\xbcrich \xc3\xa9t\xc3\xa9\r\n");
}

void TestSaveCommand::savesTheTextFileForm()
{
    QFETCH(QString, reply);
    QFETCH(QByteArray, bytes);
    const QString path = m_dir.filePath(QStringLiteral("reply.txt"));
    FileDialog::setPresetReply(path);
    save(reply);
    QCOMPARE(readAll(path), bytes);
    QVERIFY(MessageBox::takeShown().isEmpty());

    auto *dialog = m_form->findChild<FileDialog *>(QStringLiteral("CommonDialog1"));
    QVERIFY(dialog);
    QCOMPARE(dialog->dialogTitle(), QStringLiteral("Save File as"));
    QCOMPARE(dialog->initDir(), QDir::rootPath());
}

void TestSaveCommand::blankReplyIsRefused_data()
{
    QTest::addColumn<QString>("reply");
    QTest::newRow("empty") << QString();
    QTest::newRow("spaces") << QStringLiteral("     ");
}

void TestSaveCommand::blankReplyIsRefused()
{
    QFETCH(QString, reply);
    const QString path = m_dir.filePath(QStringLiteral("blank.txt"));
    FileDialog::setPresetReply(path);
    save(reply);
    const auto shown = MessageBox::takeShown();
    QCOMPARE(shown.size(), 1);
    QCOMPARE(shown[0].prompt, QStringLiteral("There is nothing to save. Please query a domain."));
    QCOMPARE(shown[0].title, QStringLiteral("No info"));
    QCOMPARE(shown[0].icon, MessageBox::Icon::Information);
    QCOMPARE(FileDialog::presetShowCount(), 0);
    QVERIFY(!QFile::exists(path));
}

void TestSaveCommand::cancelWritesNothing()
{
    FileDialog::setPresetReply(QString());
    save(QStringLiteral("reply"));
    QCOMPARE(FileDialog::presetShowCount(), 1);
    QVERIFY(m_dir.isEmpty());
    QVERIFY(MessageBox::takeShown().isEmpty());
}

void TestSaveCommand::savingOverAFileReplacesIt()
{
    const QString path = m_dir.filePath(QStringLiteral("old.txt"));
    writeAll(path, QByteArray(1000, 'x'));
    FileDialog::setPresetReply(path);
    save(QStringLiteral("new"));
    QCOMPARE(readAll(path), QByteArray("new\r\n"));
}

void TestSaveCommand::unwritablePathIsReportedAndTheProgramRunsOn_data()
{
    QTest::addColumn<QString>("relative");
    QTest::newRow("missing folder") << QStringLiteral("no-such-folder/reply.txt");
    // A regular file standing where a folder should be stops even root.
    QTest::newRow("file as folder") << QStringLiteral("plain-file/reply.txt");
}

void TestSaveCommand::unwritablePathIsReportedAndTheProgramRunsOn()
{
    QFETCH(QString, relative);
    writeAll(m_dir.filePath(QStringLiteral("plain-file")), "keep");
    const QString path = m_dir.filePath(relative);
    FileDialog::setPresetReply(path);
    save(QStringLiteral("the reply"));

    const auto shown = MessageBox::takeShown();
    QCOMPARE(shown.size(), 1);
    QCOMPARE(shown[0].icon, MessageBox::Icon::Critical);
    QVERIFY2(shown[0].prompt.contains(path), qPrintable(shown[0].prompt));
    // The system's reason follows the path.
    QVERIFY2(shown[0].prompt.section(QLatin1String("\r\n"), 1).trimmed().size() > 0, qPrintable(shown[0].prompt));
    QVERIFY(m_form->isVisible());
    QCOMPARE(m_response->text(), QStringLiteral("the reply"));
    QCOMPARE(readAll(m_dir.filePath(QStringLiteral("plain-file"))), QByteArray("keep"));
}

void TestSaveCommand::failedWriteLeavesTheExistingFileIntact()
{
    const QString path = m_dir.filePath(QStringLiteral("precious.txt"));
    const QByteArray before("an earlier reply\r\n");
    writeAll(path, before);
    FileDialog::setPresetReply(path);
    {
        const FileSizeLimit limit(64);
        save(QString(4096, QLatin1Char('r')));
    }
    const auto shown = MessageBox::takeShown();
    QCOMPARE(shown.size(), 1);
    QCOMPARE(shown[0].icon, MessageBox::Icon::Critical);
    QVERIFY(shown[0].prompt.contains(path));
    QCOMPARE(readAll(path), before);
    QCOMPARE(m_dir.entryList(QDir::Files), QStringList(QStringLiteral("precious.txt")));
}

void TestSaveCommand::realDialogAsksInTheRootAndForgetsACancelledName()
{
    const QString path = m_dir.filePath(QStringLiteral("chosen.txt"));
    QString title;
    QString directory;
    QStringList filters;
    const auto answer = [&](bool accept) {
        QTimer::singleShot(0, this, [&, accept] {
            auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            title = dialog->windowTitle();
            directory = dialog->directory().absolutePath();
            filters = dialog->nameFilters();
            if (accept) {
                dialog->selectFile(path);
                static_cast<QDialog *>(dialog)->accept();
            } else {
                dialog->reject();
            }
        });
    };

    answer(true);
    save(QStringLiteral("first"));
    QCOMPARE(title, QStringLiteral("Save File as"));
    QCOMPARE(directory, QDir::rootPath());
    QVERIFY(filters.isEmpty() || filters == QStringList(QStringLiteral("All Files (*)")));
    QCOMPARE(readAll(path), QByteArray("first\r\n"));

    answer(false);
    save(QStringLiteral("second"));
    QCOMPARE(m_form->findChild<FileDialog *>(QStringLiteral("CommonDialog1"))->fileName(), QString());
    QCOMPARE(readAll(path), QByteArray("first\r\n"));
}

HOLDRIN_TEST_MAIN(TestSaveCommand)
#include "tst_savecommand.moc"
