#include "query/ReferralParser.h"

#include <QList>
#include <QStringView>

namespace {
constexpr qsizetype MaxHostLength = 253;
constexpr qsizetype MaxLabelLength = 63;

enum class Scope { FirstRecord, WholeReply };

// The value of the first line whose key (before the colon, white space
// around it ignored, case ignored) is one of keys. The first record ends at
// a line starting with ">>>" or at the first blank line after its fields
// began; comment lines ("%" or "#") are not fields.
QString firstValue(const QString &reply, std::initializer_list<QLatin1String> keys, Scope scope)
{
    bool inRecord = false;
    for (QStringView line : QStringView(reply).split(u'\n')) {
        const QStringView trimmed = line.trimmed();
        if (scope == Scope::FirstRecord && trimmed.startsWith(u">>>"))
            break;
        if (trimmed.isEmpty()) {
            if (inRecord && scope == Scope::FirstRecord)
                break;
            continue;
        }
        if (trimmed.startsWith(u'%') || trimmed.startsWith(u'#'))
            continue;
        const qsizetype colon = trimmed.indexOf(u':');
        if (colon <= 0)
            continue;
        inRecord = true;
        const QStringView key = trimmed.left(colon).trimmed();
        for (const QLatin1String &wanted : keys) {
            if (key.compare(wanted, Qt::CaseInsensitive) == 0)
                return trimmed.mid(colon + 1).trimmed().toString();
        }
    }
    return {};
}

bool isHostLabel(QStringView label)
{
    if (label.isEmpty() || label.size() > MaxLabelLength)
        return false;
    if (label.front() == u'-' || label.back() == u'-')
        return false;
    for (const QChar c : label) {
        if (!(c.isDigit() || (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || c == u'-')
            || c.unicode() > 0x7f)
            return false;
    }
    return true;
}

ReferralParser::Referral referralFrom(const QString &raw)
{
    return {raw, ReferralParser::followableHost(raw)};
}
} // namespace

ReferralParser::Referral ReferralParser::registrarServer(const QString &reply)
{
    return referralFrom(firstValue(reply, {QLatin1String("Registrar WHOIS Server"),
                                           QLatin1String("Whois Server")},
                                     Scope::FirstRecord));
}

ReferralParser::Referral ReferralParser::ianaRefer(const QString &reply)
{
    return referralFrom(firstValue(reply, {QLatin1String("refer")}, Scope::WholeReply));
}

QString ReferralParser::followableHost(const QString &value)
{
    QStringView host(value);
    for (const QLatin1String scheme : {QLatin1String("whois://"), QLatin1String("rwhois://")}) {
        if (host.startsWith(scheme, Qt::CaseInsensitive)) {
            host = host.mid(scheme.size());
            break;
        }
    }
    if (host.endsWith(u'/'))
        host.chop(1);
    if (host.endsWith(u":43"))
        host.chop(3);
    if (host.endsWith(u'.'))
        host.chop(1); // the root label of a fully qualified name
    if (host.isEmpty() || host.size() > MaxHostLength)
        return {};

    const QList<QStringView> labels = host.split(u'.');
    for (QStringView label : labels) {
        if (!isHostLabel(label))
            return {};
    }
    // A top-level label of digits only makes an IPv4 literal, not a name.
    const QStringView top = labels.back();
    if (std::all_of(top.begin(), top.end(), [](QChar c) { return c.isDigit(); }))
        return {};
    return host.toString().toLower();
}
