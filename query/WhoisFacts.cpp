// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Marrowby Industries

#include "query/WhoisFacts.h"

#include "query/BarTable.h"
#include "query/EppStatus.h"
#include "query/RegistryDate.h"

#include <QHash>

namespace {
enum class Fact {
    Domain, Registrar, IanaId, Created, Updated, Expires, RegistrarExpires, Status, NameServer,
    Dnssec, Dnskey, AbuseEmail, AbusePhone, Range, AsNumber, Cidr, Name, Country
};
constexpr int DateFacts = 4; // Created, Updated, Expires, RegistrarExpires

struct Labels {
    QHash<QString, Fact> facts; // by the label in lower case
    QStringList notRegistered;
};

const Labels &labels()
{
    static const Labels table = [] {
        static const QHash<QString, Fact> byName = {
            {QStringLiteral("domain"), Fact::Domain},
            {QStringLiteral("registrar"), Fact::Registrar},
            {QStringLiteral("iana-id"), Fact::IanaId},
            {QStringLiteral("created"), Fact::Created},
            {QStringLiteral("updated"), Fact::Updated},
            {QStringLiteral("expires"), Fact::Expires},
            {QStringLiteral("registrar-expires"), Fact::RegistrarExpires},
            {QStringLiteral("status"), Fact::Status},
            {QStringLiteral("name-server"), Fact::NameServer},
            {QStringLiteral("dnssec"), Fact::Dnssec},
            {QStringLiteral("dnskey"), Fact::Dnskey},
            {QStringLiteral("abuse-email"), Fact::AbuseEmail},
            {QStringLiteral("abuse-phone"), Fact::AbusePhone},
            {QStringLiteral("range"), Fact::Range},
            {QStringLiteral("as-number"), Fact::AsNumber},
            {QStringLiteral("cidr"), Fact::Cidr},
            {QStringLiteral("name"), Fact::Name},
            {QStringLiteral("country"), Fact::Country},
        };
        Labels read;
        for (const QStringList &row : BarTable::rows(QStringLiteral(":/query/fact-labels.txt"), 3)) {
            const QString &fact = row[0];
            const QString &label = row[1];
            if (fact == QLatin1String("not-registered"))
                read.notRegistered << label;
            else if (byName.contains(fact))
                read.facts.insert(label.toLower(), byName.value(fact));
        }
        return read;
    }();
    return table;
}

qsizetype indentOf(QStringView line)
{
    qsizetype indent = 0;
    while (indent < line.size() && line[indent].isSpace())
        ++indent;
    return indent;
}

QStringView firstWord(QStringView value)
{
    qsizetype end = 0;
    while (end < value.size() && !value[end].isSpace())
        ++end;
    return value.left(end);
}

void addOnce(QStringList &list, const QString &item)
{
    if (!item.isEmpty() && !list.contains(item, Qt::CaseInsensitive))
        list << item;
}

void setOnce(QString &field, QStringView value)
{
    if (field.isEmpty())
        field = value.toString();
}

// ARIN writes AS numbers and ranges without the "AS": "64496 - 64511".
QString asNumbers(QStringView value)
{
    QStringList parts;
    for (const QStringView part : value.split(u' ', Qt::SkipEmptyParts))
        parts << (part.front().isDigit() ? QLatin1String("AS") + part : part.toString());
    return parts.join(u' ');
}

// A label and its value on one line: "Label: value", "label.....: value",
// "Label : value", or JPRS's "[Label]  value" with or without its "a. ".
bool splitLabel(QStringView line, QStringView *label, QStringView *value)
{
    if (line.size() > 3 && line[0].isLetter() && line[1] == u'.' && line[2] == u' ')
        line = line.mid(3).trimmed();
    qsizetype end;
    if (line.startsWith(u'[')) {
        end = line.indexOf(u']');
        if (end < 2)
            return false;
        *label = line.mid(1, end - 1);
    } else {
        end = line.indexOf(u':');
        // A label is a few words; a colon further on is in a sentence or URL.
        if (end < 1 || end > 48)
            return false;
        *label = line.left(end);
        while (!label->isEmpty() && (label->back() == u'.' || label->back().isSpace()))
            label->chop(1);
    }
    *value = line.mid(end + 1).trimmed();
    return !label->isEmpty();
}

class Reader
{
public:
    RecordFacts facts;

    void take(Fact fact, QStringView value)
    {
        // A DNS key is long, but only says that the name is signed.
        if (value.isEmpty() || (value.size() > RecordFacts::MaxValueLength && fact != Fact::Dnskey))
            return;
        switch (fact) {
        case Fact::Domain:
            setOnce(facts.domain, firstWord(value));
            break;
        case Fact::Registrar:
            setOnce(facts.registrar, value);
            break;
        case Fact::IanaId:
            if (value.toUInt() > 0)
                setOnce(facts.ianaId, value);
            break;
        case Fact::Created:
        case Fact::Updated:
        case Fact::Expires:
        case Fact::RegistrarExpires:
            setOnce(m_dates[int(fact) - int(Fact::Created)], value);
            break;
        case Fact::Status:
            addOnce(facts.statuses, EppStatus::fromEpp(value));
            break;
        case Fact::NameServer:
            facts.addNameServer(firstWord(value).toString());
            break;
        case Fact::Dnssec:
            if (!facts.dnssecSigned) {
                if (value.startsWith(QLatin1String("signed"), Qt::CaseInsensitive))
                    facts.dnssecSigned = true;
                else if (value.startsWith(QLatin1String("unsigned"), Qt::CaseInsensitive))
                    facts.dnssecSigned = false;
            }
            break;
        case Fact::Dnskey:
            if (!facts.dnssecSigned)
                facts.dnssecSigned = true;
            break;
        case Fact::AbuseEmail:
            if (value.contains(u'@'))
                setOnce(facts.abuseEmail, firstWord(value));
            break;
        case Fact::AbusePhone:
            setOnce(facts.abusePhone, value);
            break;
        case Fact::Range:
            setOnce(facts.range, value);
            break;
        case Fact::AsNumber:
            setOnce(facts.range, asNumbers(value));
            break;
        case Fact::Cidr:
            setOnce(facts.cidr, value);
            break;
        case Fact::Name:
            setOnce(facts.name, value);
            break;
        case Fact::Country:
            setOnce(facts.country, firstWord(value));
            break;
        }
    }

    // A registry writes all its dates in one form, so one date whose day
    // cannot be a month settles the order of the others.
    void readDates()
    {
        RegistryDate::Order order = RegistryDate::Order::Unknown;
        for (const QString &date : m_dates) {
            const RegistryDate::Order own = RegistryDate::orderOf(date);
            if (own == RegistryDate::Order::Unknown)
                continue;
            if (order != RegistryDate::Order::Unknown && own != order)
                return; // the reply contradicts itself: no date is certain
            order = own;
        }
        QDate *fields[DateFacts] = {&facts.created, &facts.updated, &facts.expires, &facts.registrarExpires};
        for (int i = 0; i < DateFacts; ++i)
            *fields[i] = RegistryDate::read(m_dates[i], order);
    }

private:
    QString m_dates[DateFacts];
};

bool isListFact(Fact fact)
{
    return fact == Fact::NameServer || fact == Fact::Status;
}
} // namespace

RecordFacts WhoisFacts::read(QStringView reply)
{
    const QHash<QString, Fact> &facts = labels().facts;
    const QStringView head = reply.left(HeadSize);
    Reader reader;
    std::optional<Fact> block; // a label alone on its line, its values indented below
    qsizetype blockIndent = 0;
    bool blockTaken = false;

    for (qsizetype start = 0; start < head.size();) {
        qsizetype end = head.indexOf(u'\n', start);
        if (end < 0) {
            // A line that runs on past the head would be read cut short.
            if (head.size() < reply.size())
                break;
            end = head.size();
        }
        const QStringView raw = head.mid(start, end - start);
        start = end + 1;
        const QStringView line = raw.trimmed();

        if (block) {
            if (!line.isEmpty() && indentOf(raw) > blockIndent) {
                if (isListFact(*block) || !blockTaken)
                    reader.take(*block, line);
                blockTaken = true;
                continue;
            }
            block.reset();
        }
        if (line.isEmpty() || line.startsWith(u'%') || line.startsWith(u'#'))
            continue;
        // The gTLD format's record ends here; the rest is legal notice.
        if (line.startsWith(QLatin1String(">>> Last update of")))
            break;

        QStringView label;
        QStringView value;
        if (!splitLabel(line, &label, &value))
            continue;
        const auto fact = facts.constFind(label.toString().toLower());
        if (fact == facts.cend())
            continue;
        if (value.isEmpty()) {
            block = *fact;
            blockIndent = indentOf(raw);
            blockTaken = false;
        } else {
            reader.take(*fact, value);
        }
    }
    reader.readDates();
    return reader.facts;
}

bool WhoisFacts::saysNotRegistered(QStringView reply)
{
    // The words stand near the top, after a notice at most.
    constexpr int HeadLines = 200;
    const QStringList &phrases = labels().notRegistered;
    qsizetype start = 0;
    for (int n = 0; n < HeadLines && start < reply.size(); ++n) {
        qsizetype end = reply.indexOf(u'\n', start);
        if (end < 0)
            end = reply.size();
        QStringView line = reply.mid(start, end - start).trimmed();
        start = end + 1;
        while (line.startsWith(u'%'))
            line = line.mid(1).trimmed();
        for (const QString &phrase : phrases)
            if (line.startsWith(phrase, Qt::CaseInsensitive))
                return true;
    }
    return false;
}
