// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Marrowby Industries

#pragma once

#include "query/StopRequest.h"
#include "query/WhoisConnection.h"

#include <QByteArray>
#include <QObject>
#include <QUrl>

#include <functional>

class QNetworkAccessManager;

// One HTTP GET, waited for the way a WHOIS exchange is: the event loop runs,
// the user can stop it, and the same time-outs and size cap apply.
class HttpGetter : public QObject
{
    Q_OBJECT

public:
    struct Response {
        int status = 0;
        QByteArray body;
        QUrl url; // where the body came from, after redirects
        QByteArray retryAfter; // when a server that limits queries may be asked again
    };

    HttpGetter(QNetworkAccessManager &network, const ConnectionLimits &limits, const StopRequest &stop,
               QObject *parent = nullptr);

    // Says whether a redirect may be followed to a URL.
    using RedirectRule = std::function<bool(const QUrl &)>;

    // Throws Failure when no HTTP answer came, LookupStopped when stopped;
    // an HTTP error status is an answer and is returned. Redirects go only
    // where mayRedirectTo allows, and never from HTTPS down to plain HTTP.
    Response get(const QUrl &url, const QByteArray &accept, const RedirectRule &mayRedirectTo);

private:
    QNetworkAccessManager &m_network;
    ConnectionLimits m_limits;
    const StopRequest &m_stop;
};
