// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Marrowby Industries

#include "query/WhoisClient.h"

#include "query/LookupChain.h"
#include "common/Failure.h"

#include <QNetworkAccessManager>

#include <utility>

WhoisClient::WhoisClient(const QString &server, quint16 port,
                         std::shared_ptr<const HostResolver> resolver, const QUrl &rdapBootstrap,
                         const ConnectionLimits &limits, QObject *parent)
    : QObject(parent)
    , m_server(server)
    , m_port(port)
    , m_resolver(resolver ? std::move(resolver) : std::make_shared<const HostResolver>())
    , m_rdapBootstrap(rdapBootstrap)
    , m_limits(limits)
    , m_network(new QNetworkAccessManager(this))
{
}

WhoisClient::~WhoisClient() = default;

void WhoisClient::lookup(const QString &domain)
{
    const StopRequest never;
    lookup(domain, never);
}

void WhoisClient::lookup(const QString &domain, const StopRequest &stop)
{
    m_replyText.clear();
    const QString problem = queryProblem(domain);
    if (!problem.isEmpty())
        throw Failure(problem);

    LookupChain chain({m_server, m_port, *m_resolver, *m_network, m_bootstrap, m_rdapBootstrap, m_limits, stop});
    m_replyText = chain.run(domain);
}

QString WhoisClient::replyText()
{
    return std::exchange(m_replyText, {});
}

QString WhoisClient::queryProblem(const QString &domain)
{
    // A line break in the query would end it early and send the rest to the
    // server as further protocol lines.
    for (const QChar c : domain) {
        if (c.category() == QChar::Other_Control) {
            return tr("The domain holds a line break or another control character (U+%1), "
                      "which cannot be sent to a WHOIS server. Remove it and query again.")
                .arg(QString::number(c.unicode(), 16).toUpper().rightJustified(4, QLatin1Char('0')));
        }
    }
    return {};
}
