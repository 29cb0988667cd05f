#pragma once

#include <QByteArray>
#include <QStringList>
#include <QTemporaryDir>

// Stands in for xdg-open: puts a script of that name alone on PATH, which
// writes down its working directory and arguments for each call. The PATH
// of before comes back when the fake goes.
class FakeOpener
{
public:
    enum class Kind {
        Recording,     // records the call and ends
        Lingering,     // records the call, then stays until release() or the fake goes
        Missing,       // no xdg-open on PATH at all
        NotExecutable, // an xdg-open without execute permission
        Unstartable,   // an xdg-open whose interpreter does not exist
    };

    explicit FakeOpener(Kind kind = Kind::Recording);
    ~FakeOpener();
    FakeOpener(const FakeOpener &) = delete;
    FakeOpener &operator=(const FakeOpener &) = delete;

    // Waits for the first call to be written down, then returns every call
    // so far: each is its working directory, its argument count and its
    // arguments, one to a line.
    QList<QStringList> calls() const;

    // True when a lingering fake gave up waiting, so its caller waited too.
    bool gaveUp() const;
    void release();

private:
    QTemporaryDir m_dir;
    QByteArray m_oldPath;
};
