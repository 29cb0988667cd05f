// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Marrowby Industries

#include "FakeHttpServer.h"

#include <QTcpSocket>

FakeHttpServer::FakeHttpServer(QObject *parent)
    : QObject(parent)
{
    m_server.listen(QHostAddress::LocalHost, 0);
    connect(&m_server, &QTcpServer::newConnection, this, [this] {
        while (QTcpSocket *socket = m_server.nextPendingConnection()) {
            socket->setParent(this);
            auto buffer = std::make_shared<QByteArray>();
            connect(socket, &QTcpSocket::readyRead, this, [this, socket, buffer] {
                *buffer += socket->readAll();
                const qsizetype end = buffer->indexOf("\r\n\r\n");
                if (end < 0)
                    return;
                const QList<QByteArray> lines = buffer->left(end).split('\n');
                Request request;
                request.path = lines.value(0).split(' ').value(1);
                for (const QByteArray &line : lines) {
                    if (line.toLower().startsWith("accept:"))
                        request.accept = line.mid(7).trimmed();
                }
                m_requests.append(request);
                buffer->clear();

                const Response response = m_routes.value(request.path, {404, "{\"errorCode\":404}", {}});
                QByteArray head = "HTTP/1.1 " + QByteArray::number(response.status) + " Fake\r\n"
                    + "Content-Type: application/rdap+json\r\n"
                    + "Content-Length: " + QByteArray::number(response.body.size()) + "\r\n"
                    + response.headers + "Connection: close\r\n\r\n";
                socket->write(head + response.body);
                socket->disconnectFromHost();
            });
        }
    });
}

FakeHttpServer &FakeHttpServer::route(const QByteArray &path, int status, const QByteArray &body,
                                      const QByteArray &extraHeaders)
{
    m_routes.insert(path, {status, body, extraHeaders});
    return *this;
}

QUrl FakeHttpServer::url(const QByteArray &path) const
{
    return QUrl(QStringLiteral("http://127.0.0.1:%1%2").arg(m_server.serverPort()).arg(QString::fromLatin1(path)));
}

QList<FakeHttpServer::Request> FakeHttpServer::requests() const
{
    return m_requests;
}

int FakeHttpServer::count(const QByteArray &path) const
{
    return int(std::count_if(m_requests.begin(), m_requests.end(),
                             [&](const Request &r) { return r.path == path; }));
}
