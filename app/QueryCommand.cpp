// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Marrowby Industries

#include "app/QueryCommand.h"

#include "app/BusyPointer.h"
#include "app/LookupInputFilter.h"
#include "query/LookupStopped.h"
#include "query/WhoisClient.h"
#include "ui/MessageBox.h"
#include "ui/ReplyBox.h"

#include <QCoreApplication>
#include <QLineEdit>

#include <malloc.h>

QueryCommand::QueryCommand(QWidget *window, QLineEdit *domain, ReplyBox *response,
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
        m_response->setText(tr("Querying remote server..."));
        const BusyPointer busy;
        lookUp();
        m_response->setText(m_whois->replyText());
        // The reply's spent buffers, megabytes for a long one, go back to
        // the system; the heap would otherwise keep them for the whole run.
        malloc_trim(0);
    } catch (const LookupStopped &e) {
        // Closing the window ends the program, and with it the lookup's
        // wait; there is no one left to tell.
        if (m_window->isVisible())
            showFailure(e);
    } catch (const std::exception &e) {
        showFailure(e);
    }
}

void QueryCommand::lookUp()
{
    // Only Esc and a close request get through while the lookup waits.
    const LookupInputFilter input;
    QObject::connect(&input, &LookupInputFilter::stopRequested, m_whois, &WhoisClient::stop);
    // The domain goes out exactly as typed: no trimming, no case change.
    m_whois->lookup(m_domain->text());
}

void QueryCommand::showFailure(const std::exception &failure)
{
    // Failure among them: its text is the description.
    MessageBox::show(m_window, QLatin1String("Error: \r\n") + QString::fromUtf8(failure.what()));
}
