// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Marrowby Industries

#pragma once

#include <QByteArray>

#include <atomic>
#include <functional>
#include <thread>

// A server on 127.0.0.1 that runs on its own thread with plain blocking
// sockets, so a blocking client in the main thread can talk to it as well as
// the program's event-driven lookup. Each connection sends one request
// (read up to endOfRequest), gets one answer, and is closed by the server.
class LoopbackServer
{
public:
    using Answer = std::function<QByteArray(const QByteArray &request)>;

    // answer runs on the server's thread.
    LoopbackServer(QByteArray endOfRequest, Answer answer);
    ~LoopbackServer();

    LoopbackServer(const LoopbackServer &) = delete;
    LoopbackServer &operator=(const LoopbackServer &) = delete;

    quint16 port() const;
    int connections() const;

private:
    void serve();
    void answer(int client);

    QByteArray m_endOfRequest;
    Answer m_answer;
    int m_listenFd = -1;
    quint16 m_port = 0;
    std::atomic<bool> m_stopping{false};
    std::atomic<int> m_connections{0};
    std::thread m_thread;
};
