// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Marrowby Industries

#include "BlockingClient.h"

#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <stdexcept>

namespace {
constexpr qsizetype FirstSize = 64 * 1024;

int connectTo(quint16 port)
{
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(port);
    if (::connect(fd, reinterpret_cast<sockaddr *>(&address), sizeof address) != 0) {
        const int error = errno;
        ::close(fd);
        errno = error;
        return -1;
    }
    return fd;
}
} // namespace

QByteArray BlockingClient::fetch(quint16 port, const QByteArray &request)
{
    const int fd = connectTo(port);
    if (fd < 0)
        throw std::runtime_error("the floor client could not connect");
    // The program's own socket sends small queries at once as well.
    const int on = 1;
    ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
    ::send(fd, request.constData(), size_t(request.size()), MSG_NOSIGNAL);

    // Read straight into the growing result: no copy that a real reader
    // could do without.
    QByteArray reply(FirstSize, Qt::Uninitialized);
    qsizetype filled = 0;
    for (;;) {
        if (filled == reply.size())
            reply.resize(reply.size() * 2);
        const ssize_t got = ::recv(fd, reply.data() + filled, size_t(reply.size() - filled), 0);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            break;
        filled += got;
    }
    ::close(fd);
    reply.truncate(filled);
    return reply;
}

bool BlockingClient::refused(quint16 port)
{
    const int fd = connectTo(port);
    if (fd >= 0) {
        ::close(fd);
        return false;
    }
    return errno == ECONNREFUSED;
}
