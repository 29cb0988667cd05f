// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Marrowby Industries

#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QObject>
#include <QTcpServer>
#include <QUrl>

// A plain-HTTP server on 127.0.0.1 that answers each path with a fixed
// response and records the requests it was sent.
class FakeHttpServer : public QObject
{
    Q_OBJECT

public:
    struct Request {
        QByteArray path;
        QByteArray accept;
    };

    explicit FakeHttpServer(QObject *parent = nullptr);

    FakeHttpServer &route(const QByteArray &path, int status, const QByteArray &body,
                          const QByteArray &extraHeaders = {});

    QUrl url(const QByteArray &path) const;
    QList<Request> requests() const;
    int count(const QByteArray &path) const;

private:
    struct Response {
        int status;
        QByteArray body;
        QByteArray headers;
    };

    QTcpServer m_server;
    QHash<QByteArray, Response> m_routes;
    QList<Request> m_requests;
};
