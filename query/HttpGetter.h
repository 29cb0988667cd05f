#pragma once

#include "query/WhoisConnection.h"

#include <QByteArray>
#include <QObject>
#include <QUrl>

class QNetworkAccessManager;

// One HTTP GET, waited for the way a WHOIS exchange is: the event loop runs,
// user input waits, and the same time-outs and size cap apply.
class HttpGetter : public QObject
{
    Q_OBJECT

public:
    struct Response {
        int status = 0;
        QByteArray body;
        QUrl url; // where the body came from, after redirects
    };

    HttpGetter(QNetworkAccessManager &network, const ConnectionLimits &limits, QObject *parent = nullptr);

    // Throws Failure when no HTTP answer came; an HTTP error status is
    // an answer and is returned.
    Response get(const QUrl &url, const QByteArray &accept);

private:
    QNetworkAccessManager &m_network;
    ConnectionLimits m_limits;
};
