// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Marrowby Industries

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
#include <QProcess>
#include <QTemporaryDir>

#include <cerrno>
#include <csignal>
#include <linux/capability.h>
#include <optional>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

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

// While it lives, this thread obeys file permissions even when it runs as
// root: root's power to write anywhere is set aside, not given up.
class PlainUser
{
public:
    PlainUser()
    {
        if (::geteuid() != 0)
            return;
        if (::syscall(SYS_capget, &m_header, m_saved) != 0)
            return;
        __user_cap_data_struct reduced[2] = {m_saved[0], m_saved[1]};
        reduced[0].effective &= ~(1u << CAP_DAC_OVERRIDE);
        m_dropped = ::syscall(SYS_capset, &m_header, reduced) == 0;
    }
    ~PlainUser()
    {
        if (m_dropped)
            ::syscall(SYS_capset, &m_header, m_saved);
    }

    bool obeysPermissions() const { return ::geteuid() != 0 || m_dropped; }

private:
    __user_cap_header_struct m_header{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct m_saved[2]{};
    bool m_dropped = false;
};

// A 64 KiB file system mounted over mountPoint in a mount namespace of a
// helper process only, and reached through that process's view of the
// tree: nothing is mounted where the rest of the system sees it, and the
// mount goes when the helper ends.
class SmallFileSystem
{
public:
    explicit SmallFileSystem(const QString &mountPoint)
    {
        // A user namespace serves without root; root may not be given one
        // and needs none.
        for (const char *flags : {"-rm", "-m"}) {
            m_helper.start(QStringLiteral("unshare"),
                           {QLatin1String(flags), QStringLiteral("sh"), QStringLiteral("-c"),
                            QStringLiteral("mount -t tmpfs -o size=64k holdrin-test \"$0\" && echo mounted && read _"),
                            mountPoint});
            if (m_helper.waitForReadyRead(60000) && m_helper.readAll().startsWith("mounted")) {
                m_path = QStringLiteral("/proc/%1/root%2").arg(m_helper.processId()).arg(mountPoint);
                return;
            }
            end();
        }
    }
    ~SmallFileSystem() { end(); }

    // Empty when no file system could be mounted here.
    QString path() const { return m_path; }

private:
    void end()
    {
        m_helper.closeWriteChannel();
        m_helper.waitForFinished(60000);
    }

    QProcess m_helper;
    QString m_path;
};

// Takes every free byte of the file system that holds folder.
void fill(const QString &folder)
{
    QFile filler(QDir(folder).filePath(QStringLiteral("filler")));
    QVERIFY(filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
    const QByteArray block(4096, 'f');
    while (filler.write(block) > 0) {
    }
}
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
    void writableFileInAReadOnlyFolderIsRewritten();
    void failedSaveSaysWhyAndTheProgramRunsOn_data();
    void failedSaveSaysWhyAndTheProgramRunsOn();
    void failedRewriteInPlaceLeavesTheOldFile_data();
    void failedRewriteInPlaceLeavesTheOldFile();
    void realDialogAsksInTheRootAndForgetsACancelledName();

private:
    void save(const QString &reply);
    // A folder without write permission; it is writable again after the test.
    QString lockedFolder();

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
    QFile::setPermissions(m_dir.filePath(QStringLiteral("locked")),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

void TestSaveCommand::save(const QString &reply)
{
    m_response->setText(reply);
    m_form->findChild<QAction *>(QStringLiteral("mnuSave"))->trigger();
}

QString TestSaveCommand::lockedFolder()
{
    const QString path = m_dir.filePath(QStringLiteral("locked"));
    m_dir.mkdir(QStringLiteral("locked"));
    QFile::setPermissions(path, QFile::ReadOwner | QFile::ExeOwner);
    return path;
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
    // Each save goes over an earlier, longer file, which must not show through.
    const QString path = m_dir.filePath(QStringLiteral("reply.txt"));
    writeAll(path, QByteArray(1000, 'x'));
    FileDialog::setPresetReply(path);
    save(reply);
    QCOMPARE(readAll(path), bytes);
    QVERIFY(MessageBox::takeShown().isEmpty());
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

void TestSaveCommand::writableFileInAReadOnlyFolderIsRewritten()
{
    const QString path = m_dir.filePath(QStringLiteral("locked/old.txt"));
    m_dir.mkdir(QStringLiteral("locked"));
    writeAll(path, QByteArray(1000, 'x'));
    lockedFolder();
    const PlainUser user;
    if (!user.obeysPermissions())
        QSKIP("root's power to write anywhere could not be set aside here");
    FileDialog::setPresetReply(path);
    save(QStringLiteral("new"));
    QCOMPARE(readAll(path), QByteArray("new\r\n"));
    QVERIFY(MessageBox::takeShown().isEmpty());
}

void TestSaveCommand::failedSaveSaysWhyAndTheProgramRunsOn_data()
{
    QTest::addColumn<QString>("relative");
    QTest::addColumn<int>("error");
    QTest::addColumn<QString>("oldFile");
    QTest::newRow("missing folder") << QStringLiteral("no-such-folder/reply.txt") << ENOENT << QString();
    // A regular file standing where a folder should be stops even root.
    QTest::newRow("file as folder") << QStringLiteral("precious.txt/reply.txt") << ENOTDIR << QString();
    QTest::newRow("new file in a read-only folder") << QStringLiteral("locked/reply.txt") << EACCES << QString();
    // A write that stops part-way: the earlier file must survive whole.
    QTest::newRow("past the file size limit") << QStringLiteral("precious.txt") << EFBIG
                                              << QStringLiteral("; the old file was left as it was");
}

void TestSaveCommand::failedSaveSaysWhyAndTheProgramRunsOn()
{
    QFETCH(QString, relative);
    QFETCH(int, error);
    QFETCH(QString, oldFile);
    const QByteArray before("an earlier reply\r\n");
    writeAll(m_dir.filePath(QStringLiteral("precious.txt")), before);
    lockedFolder();
    const PlainUser user;
    if (error == EACCES && !user.obeysPermissions())
        QSKIP("root's power to write anywhere could not be set aside here");
    const QString path = m_dir.filePath(relative);
    FileDialog::setPresetReply(path);
    {
        std::optional<FileSizeLimit> limit;
        if (error == EFBIG)
            limit.emplace(64);
        save(QString(4096, QLatin1Char('r')));
    }

    const auto shown = MessageBox::takeShown();
    QCOMPARE(shown.size(), 1);
    QCOMPARE(shown[0].icon, MessageBox::Icon::Critical);
    QCOMPARE(shown[0].prompt, QStringLiteral("The reply could not be saved to %1.\r\n%2")
                                  .arg(QDir::toNativeSeparators(path), qt_error_string(error) + oldFile));
    QVERIFY(m_form->isVisible());
    QCOMPARE(m_response->text().size(), 4096);
    QCOMPARE(readAll(m_dir.filePath(QStringLiteral("precious.txt"))), before);
    QCOMPARE(m_dir.entryList(QDir::Files), QStringList(QStringLiteral("precious.txt")));
}

void TestSaveCommand::failedRewriteInPlaceLeavesTheOldFile_data()
{
    QTest::addColumn<bool>("fullDisk");
    QTest::addColumn<int>("error");
    QTest::newRow("past the file size limit") << false << EFBIG;
    QTest::newRow("full file system") << true << ENOSPC;
}

// A folder that takes no new file leaves only a rewrite in place; a save
// that does not fit must stop before it touches the old file.
void TestSaveCommand::failedRewriteInPlaceLeavesTheOldFile()
{
    QFETCH(bool, fullDisk);
    QFETCH(int, error);
    std::optional<SmallFileSystem> small;
    QString folder = m_dir.filePath(QStringLiteral("locked"));
    if (fullDisk) {
        m_dir.mkdir(QStringLiteral("mount"));
        small.emplace(m_dir.filePath(QStringLiteral("mount")));
        if (small->path().isEmpty())
            QSKIP("no small file system could be mounted here (neither unshare -rm nor unshare -m would)");
        folder = small->path() + QLatin1String("/locked");
    }
    QVERIFY(QDir().mkpath(folder));
    const QString path = QDir(folder).filePath(QStringLiteral("old.txt"));
    const QByteArray before(20000, 'o');
    writeAll(path, before);
    if (fullDisk)
        fill(small->path());
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner);
    const PlainUser user;
    if (!user.obeysPermissions())
        QSKIP("root's power to write anywhere could not be set aside here");
    FileDialog::setPresetReply(path);
    {
        std::optional<FileSizeLimit> limit;
        if (!fullDisk)
            limit.emplace(before.size() + 100);
        save(QString(60000, QLatin1Char('n')));
    }

    QCOMPARE(readAll(path), before);
    const auto shown = MessageBox::takeShown();
    QCOMPARE(shown.size(), 1);
    QCOMPARE(shown[0].prompt, QStringLiteral("The reply could not be saved to %1.\r\n%2; the old file was left as it was")
                                  .arg(QDir::toNativeSeparators(path), qt_error_string(error)));
    QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden), QStringList(QStringLiteral("old.txt")));
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
