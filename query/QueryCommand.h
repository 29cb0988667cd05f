#pragma once

#include <QCoreApplication>

class QLineEdit;
class QPlainTextEdit;
class QWidget;
class WhoisClient;

// "&Query": looks up the typed domain and shows the reply, or the reason
// the lookup failed.
class QueryCommand
{
    Q_DECLARE_TR_FUNCTIONS(QueryCommand)

public:
    QueryCommand(QWidget *window, QLineEdit *domain, QPlainTextEdit *response, WhoisClient *whois);

    void run();

private:
    QWidget *m_window;
    QLineEdit *m_domain;
    QPlainTextEdit *m_response;
    WhoisClient *m_whois;
};
