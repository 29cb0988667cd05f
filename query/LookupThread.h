// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Marrowby Industries

#pragma once

#include <QObject>
#include <QString>
#include <QThread>

#include <exception>
#include <memory>

class StopRequest;
class WhoisClient;

// Runs the WHOIS component's lookups in a thread of their own, as Qt's
// blocking fortune client does: the chain asks its servers in order and
// waits on its sockets there, while the window thread goes on taking input
// and painting. One lookup runs at a time.
class LookupThread : public QObject
{
    Q_OBJECT

public:
    explicit LookupThread(std::unique_ptr<WhoisClient> whois, QObject *parent = nullptr);
    // A running lookup is stopped; only its unwinding is waited for.
    ~LookupThread() override;

    // Starts looking the domain up; finished() follows. Ignored while a
    // lookup runs.
    void lookup(const QString &domain);
    bool isRunning() const;
    // Ends the running lookup, which then finishes with LookupStopped.
    void stop();
    // Hands the last reply over, as WhoisClient does.
    QString replyText();

signals:
    // The lookup is over: failure is empty when replyText() holds the
    // reply, and otherwise what the lookup threw.
    void finished(std::exception_ptr failure);

private:
    void deliver(QString reply, std::exception_ptr failure);

    QThread m_thread;
    // Lives in m_thread and is deleted there as the thread ends.
    WhoisClient *m_whois;
    // One a lookup, so a stop meant for one never reaches the next.
    std::shared_ptr<StopRequest> m_stop;
    QString m_reply;
};
