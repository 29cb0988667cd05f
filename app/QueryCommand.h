// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Marrowby Industries

#pragma once

#include <QCoreApplication>

#include <exception>

class QLineEdit;
class QWidget;
class ReplyBox;
class WhoisClient;

// "&Query": looks up the typed domain and shows the reply, or the reason
// the lookup failed.
class QueryCommand
{
    Q_DECLARE_TR_FUNCTIONS(QueryCommand)

public:
    QueryCommand(QWidget *window, QLineEdit *domain, ReplyBox *response, WhoisClient *whois);

    void run();

private:
    void lookUp();
    void showFailure(const std::exception &failure);

    QWidget *m_window;
    QLineEdit *m_domain;
    ReplyBox *m_response;
    WhoisClient *m_whois;
};
