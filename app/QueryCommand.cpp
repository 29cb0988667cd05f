// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Marrowby Industries

#include "app/QueryCommand.h"

#include "query/LookupStopped.h"
#include "query/LookupThread.h"
#include "ui/MessageBox.h"
#include "ui/ReplyBox.h"

#include <QLineEdit>
#include <QScopeGuard>

#include <malloc.h>

#include <utility>

namespace {
constexpr qsizetype TrimAfter = 1024 * 1024;
}

QueryCommand::QueryCommand(QWidget *window, QLineEdit *domain, ReplyBox *response, LookupThread *whois)
    : m_window(window)
    , m_domain(domain)
    , m_response(response)
    , m_whois(whois)
{
    connect(m_whois, &LookupThread::finished, this, &QueryCommand::onLookupFinished);
}

void QueryCommand::run()
{
    try {
        m_response->setText(tr("Querying remote server..."));
        m_busy.emplace();
        // The domain goes out exactly as typed: no trimming, no case change.
        m_whois->lookup(m_domain->text());
    } catch (const std::exception &e) {
        m_busy.reset();
        showFailure(e);
        emit ended();
    }
}

void QueryCommand::stop()
{
    m_whois->stop();
}

void QueryCommand::onLookupFinished(std::exception_ptr failure)
{
    const auto end = qScopeGuard([this] { emit ended(); });
    try {
        if (failure)
            std::rethrow_exception(failure);
        QString reply = m_whois->replyText();
        const bool isLong = reply.size() > TrimAfter;
        // Handed over: this copy is gone before the trim below.
        m_response->setText(std::exchange(reply, {}));
        m_busy.reset();
        // A long reply's spent buffers, megabytes of them, go back to the
        // system; the heap would otherwise keep them for the whole run. A
        // short one's are not worth the trim, which costs more than its
        // lookup.
        if (isLong)
            malloc_trim(0);
    } catch (const LookupStopped &e) {
        m_busy.reset();
        // A closed window has no one left to tell.
        if (m_window->isVisible())
            showFailure(e);
    } catch (const std::exception &e) {
        m_busy.reset();
        showFailure(e);
    }
}

void QueryCommand::showFailure(const std::exception &failure)
{
    // Failure among them: its text is the description.
    MessageBox::show(m_window, QLatin1String("Error: \r\n") + QString::fromUtf8(failure.what()));
}
