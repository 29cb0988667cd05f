// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Marrowby Industries

#include "query/EppStatus.h"

#include <iterator>

namespace {
struct Status {
    const char *code;
    const char *rdap;
    const char *meaning;
};

// RFC 8056, section 2: the EPP domain status codes and their RDAP values.
constexpr Status Statuses[] = {
    {"ok", "active", QT_TRANSLATE_NOOP("EppStatus", "no lock and no change under way")},
    {"inactive", "inactive", QT_TRANSLATE_NOOP("EppStatus", "no name servers are set")},
    {"addPeriod", "add period", QT_TRANSLATE_NOOP("EppStatus", "newly registered, may still be undone")},
    {"autoRenewPeriod", "auto renew period", QT_TRANSLATE_NOOP("EppStatus", "just renewed automatically")},
    {"renewPeriod", "renew period", QT_TRANSLATE_NOOP("EppStatus", "just renewed")},
    {"transferPeriod", "transfer period", QT_TRANSLATE_NOOP("EppStatus", "just moved to another registrar")},
    {"redemptionPeriod", "redemption period", QT_TRANSLATE_NOOP("EppStatus", "deleted, can still be restored")},
    {"pendingCreate", "pending create", QT_TRANSLATE_NOOP("EppStatus", "registration under way")},
    {"pendingDelete", "pending delete", QT_TRANSLATE_NOOP("EppStatus", "about to be deleted")},
    {"pendingRenew", "pending renew", QT_TRANSLATE_NOOP("EppStatus", "renewal under way")},
    {"pendingRestore", "pending restore", QT_TRANSLATE_NOOP("EppStatus", "being restored after deletion")},
    {"pendingTransfer", "pending transfer", QT_TRANSLATE_NOOP("EppStatus", "moving to another registrar")},
    {"pendingUpdate", "pending update", QT_TRANSLATE_NOOP("EppStatus", "a change is under way")},
    {"clientDeleteProhibited", "client delete prohibited",
     QT_TRANSLATE_NOOP("EppStatus", "the registrar has locked deletion")},
    {"clientHold", "client hold", QT_TRANSLATE_NOOP("EppStatus", "the registrar has taken it off the DNS")},
    {"clientRenewProhibited", "client renew prohibited",
     QT_TRANSLATE_NOOP("EppStatus", "the registrar has locked renewal")},
    {"clientTransferProhibited", "client transfer prohibited",
     QT_TRANSLATE_NOOP("EppStatus", "the registrar has locked transfers")},
    {"clientUpdateProhibited", "client update prohibited",
     QT_TRANSLATE_NOOP("EppStatus", "the registrar has locked changes")},
    {"serverDeleteProhibited", "server delete prohibited",
     QT_TRANSLATE_NOOP("EppStatus", "the registry has locked deletion")},
    {"serverHold", "server hold", QT_TRANSLATE_NOOP("EppStatus", "the registry has taken it off the DNS")},
    {"serverRenewProhibited", "server renew prohibited",
     QT_TRANSLATE_NOOP("EppStatus", "the registry has locked renewal")},
    {"serverTransferProhibited", "server transfer prohibited",
     QT_TRANSLATE_NOOP("EppStatus", "the registry has locked transfers")},
    {"serverUpdateProhibited", "server update prohibited",
     QT_TRANSLATE_NOOP("EppStatus", "the registry has locked changes")},
};

const Status *find(QStringView text, bool rdap)
{
    for (const Status &status : Statuses)
        if (text.compare(QLatin1String(rdap ? status.rdap : status.code), Qt::CaseInsensitive) == 0)
            return &status;
    return nullptr;
}
} // namespace

QString EppStatus::fromEpp(QStringView value)
{
    qsizetype end = 0;
    while (end < value.size() && !value[end].isSpace())
        ++end;
    const Status *status = find(value.left(end), false);
    return status ? QLatin1String(status->code) : QString();
}

QString EppStatus::fromRdap(QStringView value)
{
    const Status *status = find(value.trimmed(), true);
    return status ? QLatin1String(status->code) : QString();
}

QString EppStatus::meaning(const QString &code)
{
    const Status *status = find(code, false);
    return status ? tr(status->meaning) : QString();
}
