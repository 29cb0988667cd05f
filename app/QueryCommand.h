// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Marrowby Industries

#pragma once

#include "app/BusyPointer.h"

#include <QObject>

#include <exception>
#include <optional>

class LookupThread;
class QLineEdit;
class QWidget;
class ReplyBox;

// "&Query": looks up the typed domain and shows the reply, or the reason
// the lookup failed. The lookup runs in its own thread; the command ends
// when its reply is shown or its failure has been reported.
class QueryCommand : public QObject
{
    Q_OBJECT

public:
    QueryCommand(QWidget *window, QLineEdit *domain, ReplyBox *response, LookupThread *whois);

    void run();
    // Ends the lookup; the command then reports it as stopped.
    void stop();

signals:
    void ended();

private:
    void onLookupFinished(std::exception_ptr failure);
    void showFailure(const std::exception &failure);

    QWidget *m_window;
    QLineEdit *m_domain;
    ReplyBox *m_response;
    LookupThread *m_whois;
    std::optional<BusyPointer> m_busy;
};
