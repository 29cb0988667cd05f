// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Marrowby Industries

#include "query/LookupThread.h"

#include "query/StopRequest.h"
#include "query/WhoisClient.h"

#include <utility>

LookupThread::LookupThread(std::unique_ptr<WhoisClient> whois, QObject *parent)
    : QObject(parent)
    , m_whois(whois.release())
{
    m_thread.setObjectName(QStringLiteral("lookup"));
    // Its sockets, timers and network access are made and used there.
    m_whois->setParent(nullptr);
    m_whois->moveToThread(&m_thread);
    connect(&m_thread, &QThread::finished, m_whois, &QObject::deleteLater);
    m_thread.start();
}

LookupThread::~LookupThread()
{
    stop();
    m_thread.quit();
    m_thread.wait();
}

void LookupThread::lookup(const QString &domain)
{
    if (isRunning())
        return;
    m_stop = std::make_shared<StopRequest>();
    QMetaObject::invokeMethod(
        m_whois,
        [this, whois = m_whois, stop = m_stop, domain]() mutable {
            QString reply;
            std::exception_ptr failure;
            try {
                whois->lookup(domain, *stop);
                reply = whois->replyText();
            } catch (...) {
                failure = std::current_exception();
            }
            // The window thread holds the last reference and drops it.
            stop.reset();
            // Posted to the window thread, where the reply is taken over
            // without another copy. Were this object gone by then, its
            // destructor would have waited for this thread first, and the
            // posted call would go with it.
            QMetaObject::invokeMethod(
                this, [this, reply = std::move(reply), failure]() mutable { deliver(std::move(reply), failure); },
                Qt::QueuedConnection);
        },
        Qt::QueuedConnection);
}

bool LookupThread::isRunning() const
{
    return m_stop != nullptr;
}

void LookupThread::stop()
{
    if (m_stop)
        m_stop->raise();
}

QString LookupThread::replyText()
{
    return std::exchange(m_reply, {});
}

void LookupThread::deliver(QString reply, std::exception_ptr failure)
{
    m_stop.reset();
    m_reply = std::move(reply);
    emit finished(failure);
}
