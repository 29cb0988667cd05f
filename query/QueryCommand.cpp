#include "query/QueryCommand.h"

#include "query/BusyPointer.h"
#include "query/WhoisClient.h"
#include "ui/MessageBox.h"

#include <QCoreApplication>
#include <QLineEdit>
#include <QPlainTextEdit>

QueryCommand::QueryCommand(QWidget *window, QLineEdit *domain, QPlainTextEdit *response,
                           WhoisClient *whois)
    : m_window(window)
    , m_domain(domain)
    , m_response(response)
    , m_whois(whois)
{
}

void QueryCommand::run()
{
    try {
        m_response->setPlainText(tr("Querying remote server..."));
        const BusyPointer busy;
        // The domain goes out exactly as typed: no trimming, no case change.
        m_whois->lookup(m_domain->text());
        m_response->setPlainText(m_whois->replyText());
    } catch (const std::exception &e) {
        // Failure among them: its text is the description.
        MessageBox::show(m_window, QLatin1String("Error: \r\n") + QString::fromUtf8(e.what()));
    }
}
