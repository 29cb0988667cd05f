// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Marrowby Industries

#pragma once

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QTcpServer>

#include <functional>

class QTcpSocket;

// A WHOIS server on 127.0.0.1 that plays a script to every client once the
// client's query line has arrived, and records what each client sent.
class FakeWhoisServer : public QObject
{
    Q_OBJECT

public:
    explicit FakeWhoisServer(QObject *parent = nullptr);

    FakeWhoisServer &send(const QByteArray &bytes);
    FakeWhoisServer &sendInChunks(const QByteArray &bytes, int chunkSize, int delayMs);
    FakeWhoisServer &wait(int ms);
    FakeWhoisServer &close();
    // The script pauses here until release() is called.
    FakeWhoisServer &hold();
    void release();
    // Ends the connection with a TCP reset instead of an orderly close.
    FakeWhoisServer &reset();
    // Sends bytes only as fast as the client reads them, so a flood costs
    // this process nothing while the client is measured.
    FakeWhoisServer &flood(qint64 bytes);
    // Later connections get the script written after this.
    void clearScript();

    quint16 port() const;
    int connections() const;
    QByteArray received(int connection = 0) const;
    qint64 bytesSent() const;

signals:
    // The client's query line is in; the reply has not started.
    void queryReceived();

private:
    struct Step {
        enum class Kind { Send, Wait, Hold, Close, Reset, Flood } kind;
        QByteArray bytes;
        qint64 amount = 0; // milliseconds to wait, or bytes to flood
    };

    void onNewConnection();
    void play(QTcpSocket *socket, qsizetype step);

    QTcpServer m_server;
    QList<Step> m_script;
    // The connections paused at a hold, and the step each goes on with.
    QList<std::pair<QTcpSocket *, qsizetype>> m_held;
    QList<QByteArray> m_received;
    qint64 m_sent = 0;
};
