// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Marrowby Industries

#include "LoopbackServer.h"

#include <QtGlobal>

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <stdexcept>

LoopbackServer::LoopbackServer(QByteArray endOfRequest, Answer answer)
    : m_endOfRequest(std::move(endOfRequest))
    , m_answer(std::move(answer))
{
    m_listenFd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const int on = 1;
    ::setsockopt(m_listenFd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (::bind(m_listenFd, reinterpret_cast<sockaddr *>(&address), sizeof address) != 0
        || ::listen(m_listenFd, 64) != 0
        || ::getsockname(m_listenFd, reinterpret_cast<sockaddr *>(&address), &length) != 0)
        throw std::runtime_error("the benchmark server could not listen on 127.0.0.1");
    m_port = ntohs(address.sin_port);
    m_thread = std::thread([this] { serve(); });
}

LoopbackServer::~LoopbackServer()
{
    m_stopping = true;
    // Wakes the thread from accept().
    ::shutdown(m_listenFd, SHUT_RDWR);
    m_thread.join();
    ::close(m_listenFd);
}

quint16 LoopbackServer::port() const
{
    return m_port;
}

int LoopbackServer::connections() const
{
    return m_connections;
}

void LoopbackServer::serve()
{
    while (!m_stopping) {
        const int client = ::accept4(m_listenFd, nullptr, nullptr, SOCK_CLOEXEC);
        if (client < 0) {
            if (errno == EINTR || errno == ECONNABORTED)
                continue;
            return;
        }
        ++m_connections;
        answer(client);
        ::close(client);
    }
}

void LoopbackServer::answer(int client)
{
    QByteArray request;
    char chunk[4096];
    while (!request.contains(m_endOfRequest)) {
        const ssize_t got = ::recv(client, chunk, sizeof chunk, 0);
        if (got <= 0)
            return;
        request.append(chunk, got);
    }
    const QByteArray reply = m_answer(request);
    const char *at = reply.constData();
    qsizetype left = reply.size();
    while (left > 0) {
        const ssize_t sent = ::send(client, at, size_t(left), MSG_NOSIGNAL);
        if (sent <= 0)
            return;
        at += sent;
        left -= sent;
    }
    // The end of the reply is the server closing, as on port 43.
    ::shutdown(client, SHUT_WR);
}
