// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Marrowby Industries

#pragma once

#include <QByteArray>
#include <QObject>
#include <QStringList>
#include <QTemporaryDir>

class QUrl;

// Stands in for the desktop's opener while it lives: web and mail addresses
// that the program hands to the desktop come here and are written down.
// With Kind::Missing there is nothing to open them with: no handler, and a
// PATH and browser setting that lead to no opener.
class FakeOpener : public QObject
{
    Q_OBJECT

public:
    enum class Kind { Recording, Missing };

    explicit FakeOpener(Kind kind = Kind::Recording);
    ~FakeOpener() override;

    // Every address handed over so far, as it reached the desktop.
    QStringList addresses() const { return m_addresses; }

    Q_INVOKABLE void open(const QUrl &url);

private:
    QStringList m_addresses;
    QTemporaryDir m_emptyPath;
    QList<QPair<QByteArray, QByteArray>> m_savedEnvironment;
};
