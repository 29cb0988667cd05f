// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Marrowby Industries

#include "query/HttpGetter.h"

#include "query/LookupStopped.h"
#include "common/Failure.h"

#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>

#include <memory>

namespace {
constexpr int MaxRedirects = 5;
}

HttpGetter::HttpGetter(QNetworkAccessManager &network, const ConnectionLimits &limits,
                       const StopRequest &stop, QObject *parent)
    : QObject(parent)
    , m_network(network)
    , m_limits(limits)
    , m_stop(stop)
{
}

HttpGetter::Response HttpGetter::get(const QUrl &url, const QByteArray &accept, const RedirectRule &mayRedirectTo)
{
    const QString stopped = tr("The lookup was stopped while waiting for %1.").arg(url.host());
    if (m_stop.isRaised())
        throw LookupStopped(stopped);

    QNetworkRequest request(url);
    request.setRawHeader("Accept", accept);
    // Each redirect is checked below before it is followed.
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::UserVerifiedRedirectPolicy);
    request.setMaximumRedirectsAllowed(MaxRedirects);
    request.setTransferTimeout(int(m_limits.idleTimeout.count()));

    const std::unique_ptr<QNetworkReply> reply(m_network.get(request));
    QEventLoop loop;
    QByteArray body;
    QString failure;
    connect(reply.get(), &QNetworkReply::readyRead, &loop, [&] {
        if (body.size() + reply->bytesAvailable() > m_limits.maxReplyBytes) {
            failure = tr("The reply from %1 is larger than %2; the lookup was stopped.")
                          .arg(url.host(), m_limits.maxReplySize());
            reply->abort();
            return;
        }
        body += reply->readAll();
    });
    connect(reply.get(), &QNetworkReply::finished, &loop, &QEventLoop::quit);
    connect(reply.get(), &QNetworkReply::redirected, &loop, [&](const QUrl &target) {
        const bool downgrade = reply->url().scheme() == QLatin1String("https")
            && target.scheme() != QLatin1String("https");
        if (!downgrade && mayRedirectTo && mayRedirectTo(target)) {
            emit reply->redirectAllowed();
            return;
        }
        failure = tr("%1 redirected the request to \"%2\", which is not followed.")
                      .arg(url.host(), target.toString());
        reply->abort();
    });

    // The transfer time-out is reset by every byte, so a server that
    // trickles one now and then needs a limit on the whole request too.
    QTimer exchangeTimer;
    exchangeTimer.setSingleShot(true);
    connect(&exchangeTimer, &QTimer::timeout, &loop, [&] {
        failure = tr("No answer from %1: the reply did not finish within %2 seconds.")
                      .arg(url.host(), ConnectionLimits::inSeconds(m_limits.exchangeTimeout));
        reply->abort();
    });
    exchangeTimer.start(m_limits.exchangeTimeout);

    // The transfer time-out only sees silence; a server that never accepts
    // the connection gets the shorter connection time-out, as on port 43.
    QTimer connectTimer;
    connectTimer.setSingleShot(true);
    connect(&m_stop, &StopRequest::raised, &loop, [&] { reply->abort(); });
    connect(&connectTimer, &QTimer::timeout, &loop, [&] {
        failure = tr("No answer from %1: no connection within %2 seconds.")
                      .arg(url.host(), ConnectionLimits::inSeconds(m_limits.connectTimeout));
        reply->abort();
    });
    connect(reply.get(), &QNetworkReply::requestSent, &connectTimer, &QTimer::stop);
    connectTimer.start(m_limits.connectTimeout);
    if (!reply->isFinished())
        loop.exec();

    if (!reply->isFinished()) {
        reply->abort();
        throw LookupStopped(tr("The request to %1 was stopped because the program is closing.").arg(url.host()));
    }
    if (m_stop.isRaised())
        throw LookupStopped(stopped);
    if (!failure.isEmpty())
        throw Failure(failure);

    Response response;
    response.status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    response.url = reply->url();
    response.retryAfter = reply->rawHeader("Retry-After");
    if (response.status == 0) {
        const QString reason = reply->error() == QNetworkReply::OperationCanceledError
            ? tr("nothing arrived for %1 seconds").arg(ConnectionLimits::inSeconds(m_limits.idleTimeout))
            : reply->errorString();
        throw Failure(tr("No answer from %1: %2.").arg(url.host(), reason));
    }
    response.body = body + reply->readAll();
    return response;
}
