// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Marrowby Industries

#include "FakeWhoisServer.h"

#include <QPointer>
#include <QTcpSocket>
#include <QTimer>

#include <sys/socket.h>

namespace {
constexpr qint64 FloodChunk = 64 * 1024;
}

FakeWhoisServer::FakeWhoisServer(QObject *parent)
    : QObject(parent)
{
    m_server.listen(QHostAddress::LocalHost, 0);
    connect(&m_server, &QTcpServer::newConnection, this, &FakeWhoisServer::onNewConnection);
}

FakeWhoisServer &FakeWhoisServer::send(const QByteArray &bytes)
{
    m_script.append({Step::Kind::Send, bytes});
    return *this;
}

FakeWhoisServer &FakeWhoisServer::sendInChunks(const QByteArray &bytes, int chunkSize, int delayMs)
{
    for (qsizetype at = 0; at < bytes.size(); at += chunkSize) {
        send(bytes.mid(at, chunkSize));
        wait(delayMs);
    }
    return *this;
}

FakeWhoisServer &FakeWhoisServer::wait(int ms)
{
    m_script.append({Step::Kind::Wait, {}, ms});
    return *this;
}

FakeWhoisServer &FakeWhoisServer::flood(qint64 bytes)
{
    m_script.append({Step::Kind::Flood, {}, bytes});
    return *this;
}

FakeWhoisServer &FakeWhoisServer::close()
{
    m_script.append({Step::Kind::Close});
    return *this;
}

FakeWhoisServer &FakeWhoisServer::hold()
{
    m_script.append({Step::Kind::Hold});
    return *this;
}

void FakeWhoisServer::release()
{
    for (const auto &[socket, step] : std::exchange(m_held, {}))
        play(socket, step);
}

FakeWhoisServer &FakeWhoisServer::reset()
{
    m_script.append({Step::Kind::Reset});
    return *this;
}

void FakeWhoisServer::clearScript()
{
    m_script.clear();
}

quint16 FakeWhoisServer::port() const
{
    return m_server.serverPort();
}

int FakeWhoisServer::connections() const
{
    return int(m_received.size());
}

QByteArray FakeWhoisServer::received(int connection) const
{
    return m_received.value(connection);
}

qint64 FakeWhoisServer::bytesSent() const
{
    return m_sent;
}

void FakeWhoisServer::onNewConnection()
{
    while (QTcpSocket *socket = m_server.nextPendingConnection()) {
        socket->setParent(this);
        const int index = int(m_received.size());
        m_received.append(QByteArray());
        connect(socket, &QTcpSocket::readyRead, this, [this, socket, index] {
            const bool hadQuery = m_received[index].contains('\n');
            m_received[index] += socket->readAll();
            if (!hadQuery && m_received[index].contains('\n')) {
                emit queryReceived();
                play(socket, 0);
            }
        });
    }
}

void FakeWhoisServer::play(QTcpSocket *socket, qsizetype step)
{
    if (step >= m_script.size())
        return;
    const Step &s = m_script.at(step);
    switch (s.kind) {
    case Step::Kind::Send:
        m_sent += socket->write(s.bytes);
        socket->flush();
        break;
    case Step::Kind::Wait:
        QTimer::singleShot(int(s.amount), socket, [this, socket, step] { play(socket, step + 1); });
        return;
    case Step::Kind::Flood: {
        auto left = std::make_shared<qint64>(s.amount);
        auto topUp = [this, socket, left, step] {
            while (*left > 0 && socket->bytesToWrite() < 4 * FloodChunk
                   && socket->state() == QAbstractSocket::ConnectedState) {
                const qint64 written = socket->write(QByteArray(int(qMin(FloodChunk, *left)), 'F'));
                if (written <= 0)
                    return;
                *left -= written;
                m_sent += written;
            }
            if (*left == 0) {
                *left = -1;
                play(socket, step + 1);
            }
        };
        connect(socket, &QTcpSocket::bytesWritten, this, topUp);
        topUp();
        return;
    }
    case Step::Kind::Hold:
        m_held.append({socket, step + 1});
        return;
    case Step::Kind::Close:
        socket->disconnectFromHost();
        return;
    case Step::Kind::Reset: {
        const linger abortive{1, 0};
        ::setsockopt(int(socket->socketDescriptor()), SOL_SOCKET, SO_LINGER, &abortive, sizeof abortive);
        socket->abort();
        return;
    }
    }
    play(socket, step + 1);
}
