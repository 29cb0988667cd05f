// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Marrowby Industries

#include "query/Route.h"

#include "query/SecondLevelRegistries.h"
#include "common/Failure.h"

#include <QRegularExpression>
#include <QUrl>

namespace {
const QString IanaServer = QStringLiteral("whois.iana.org");

bool isAscii(const QString &text)
{
    return std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 0x80; });
}

// Names with a space, "=" or "~" are searches in the first server's own
// query language, not domain names: they get no further hops.
bool isPlainName(const QString &name)
{
    return !name.isEmpty() && name.contains(u'.')
        && !name.contains(u' ') && !name.contains(u'=') && !name.contains(u'~');
}

QString aceName(const QString &typed)
{
    if (isAscii(typed))
        return typed;
    const QByteArray ace = QUrl::toAce(typed);
    if (ace.isEmpty())
        throw Failure(Route::tr("\"%1\" is not a valid international domain name: it has no ASCII (ACE) "
                                "form that a WHOIS server could be asked for.")
                          .arg(typed));
    return QString::fromLatin1(ace);
}

QStringView tldOf(const QString &name)
{
    return QStringView(name).mid(name.lastIndexOf(u'.') + 1);
}

bool startsWithNoMatch(const QString &reply)
{
    static const QRegularExpression noMatch(QStringLiteral("^\\s*No match for"),
                                            QRegularExpression::CaseInsensitiveOption
                                                | QRegularExpression::MultilineOption);
    return noMatch.match(reply).hasMatch();
}

// InterNIC holds com, net and edu itself.
bool holdsTld(const QString &name)
{
    const QStringView tld = tldOf(name);
    return tld.compare(QLatin1String("com"), Qt::CaseInsensitive) == 0
        || tld.compare(QLatin1String("net"), Qt::CaseInsensitive) == 0
        || tld.compare(QLatin1String("edu"), Qt::CaseInsensitive) == 0;
}

// InterNIC's "No match" for another TLD only means the name lives elsewhere.
bool belongsElsewhere(const QString &reply, const QString &name)
{
    return !holdsTld(name) && startsWithNoMatch(reply);
}

bool namesNameServers(const QString &reply)
{
    static const QRegularExpression nserver(QStringLiteral("^\\s*nserver\\s*:"),
                                            QRegularExpression::CaseInsensitiveOption
                                                | QRegularExpression::MultilineOption);
    return nserver.match(reply).hasMatch();
}

// IANA's word is final for what it holds itself: the names under .int and
// .arpa, a name it has no object for at all, and a TLD that is not in the
// root zone. A TLD record that only lacks a WHOIS server points on to RDAP.
bool ianaHasFinalWord(const QString &reply, const QString &name)
{
    if (reply.contains(QLatin1String("returned 0 objects"), Qt::CaseInsensitive))
        return true;
    const QString domain = ReferralParser::ianaDomain(reply);
    if (domain.compare(name, Qt::CaseInsensitive) == 0)
        return true;
    if (domain.compare(tldOf(name), Qt::CaseInsensitive) != 0)
        return false;
    return ReferralParser::ianaWhois(reply).host == IanaServer || !namesNameServers(reply)
        || reply.contains(QLatin1String("not assigned"), Qt::CaseInsensitive);
}

Route::Step ask(Route::Server server, const ReferralParser::Referral &referral)
{
    return {Route::Action::AskWhois, server, referral};
}

Route::Step askIana()
{
    return ask(Route::Server::Iana, {IanaServer, IanaServer});
}

Route::Step stop()
{
    return {};
}

Route::Step askRdap()
{
    return {Route::Action::AskRdap, Route::Server::Registry, {}};
}

Route::Step afterFirst(const Route::Target &target, const QString &reply)
{
    using Kind = Route::Target::Kind;
    if (target.kind == Kind::Number)
        return askIana();
    if (target.kind == Kind::Search)
        return stop();
    const QString below = SecondLevelRegistries::serverFor(target.name);
    if (!below.isEmpty())
        return ask(Route::Server::Registry, {below, below});
    const ReferralParser::Referral registrar = ReferralParser::registrarServer(reply);
    if (!registrar.raw.isEmpty())
        return ask(Route::Server::Registrar, registrar);
    return belongsElsewhere(reply, target.name) ? askIana() : stop();
}

Route::Step afterIana(const Route::Target &target, const QString &reply)
{
    const ReferralParser::Referral registry = ReferralParser::ianaRefer(reply);
    if (registry.host == IanaServer)
        return stop();
    if (!registry.raw.isEmpty())
        return ask(Route::Server::Registry, registry);
    if (target.kind == Route::Target::Kind::Number || ianaHasFinalWord(reply, target.name))
        return stop();
    return askRdap();
}

ReferralParser::Referral referralIn(const Route::Target &target, const QString &reply)
{
    return target.kind == Route::Target::Kind::Number ? ReferralParser::registryReferral(reply)
                                                      : ReferralParser::registrarServer(reply);
}

Route::Step afterRegistry(const Route::Target &target, const QString &reply)
{
    const ReferralParser::Referral next = referralIn(target, reply);
    if (next.raw.isEmpty())
        return stop();
    // A regional registry hands on to another registry; a name's registry
    // names the registrar.
    return ask(target.kind == Route::Target::Kind::Number ? Route::Server::Registry : Route::Server::Registrar, next);
}

Route::Step afterRegistrar(const Route::Hop &last)
{
    // Registrars name their own server in their records; another one is
    // where the registrar handed the name on.
    const ReferralParser::Referral next = ReferralParser::registrarServer(last.reply);
    if (next.raw.isEmpty() || next.host.compare(last.host, Qt::CaseInsensitive) == 0)
        return stop();
    return ask(Route::Server::Registrar, next);
}
} // namespace

Route::Target Route::target(const QString &typed)
{
    // Spaces around a name or number are no part of it; a text with spaces
    // inside is a search and goes out as typed.
    QString trimmed = typed.trimmed();
    // "example.com." is the fully qualified form of the same name.
    if (trimmed.endsWith(u'.') && !trimmed.endsWith(QLatin1String("..")) && isPlainName(trimmed.chopped(1)))
        trimmed.chop(1);

    Target target;
    target.number = NumberResource::parse(trimmed);
    if (target.number.kind() != NumberResource::Kind::None) {
        target.kind = Target::Kind::Number;
        target.name = target.number.whoisQuery();
    } else if (isPlainName(trimmed)) {
        target.kind = Target::Kind::Name;
        target.name = aceName(trimmed);
    } else {
        target.name = aceName(typed);
    }
    return target;
}

Route::Step Route::next(const Target &target, const Hop &last)
{
    if (last.outcome == Outcome::NotAsked)
        return stop();
    // A server that failed, or only said it is asked too often, named
    // nothing to follow: RDAP is the other way to the record.
    if (last.outcome != Outcome::Answered)
        return target.kind == Target::Kind::Search ? stop() : askRdap();
    switch (last.server) {
    case Server::First:
        return afterFirst(target, last.reply);
    case Server::Iana:
        return afterIana(target, last.reply);
    case Server::Registry:
        return afterRegistry(target, last.reply);
    case Server::Registrar:
        return afterRegistrar(last);
    }
    return stop();
}

LookupHop::Role Route::role(const Target &target, const Hop &hop)
{
    using Role = LookupHop::Role;
    switch (hop.server) {
    case Server::First:
        // InterNIC's answer is the record only for the TLDs it holds.
        if (target.kind == Target::Kind::Search)
            return Role::Registry;
        return target.kind == Target::Kind::Name && holdsTld(target.name)
                && SecondLevelRegistries::serverFor(target.name).isEmpty()
            ? Role::Registry
            : Role::Referral;
    case Server::Iana:
        return next(target, hop).action == Action::Stop ? Role::Registry : Role::Referral;
    case Server::Registry:
        return target.kind == Target::Kind::Number && hop.outcome == Outcome::Answered
                && !referralIn(target, hop.reply).raw.isEmpty()
            ? Role::Referral
            : Role::Registry;
    case Server::Registrar:
        return Role::Registrar;
    }
    return Role::Registry;
}
