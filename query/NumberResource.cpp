// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Marrowby Industries

#include "query/NumberResource.h"

#include "common/Failure.h"

#include <QRegularExpression>
#include <QStringList>
#include <QtEndian>

#include <arpa/inet.h>

#include <array>

namespace {
constexpr uint AsdotPartMax = 0xFFFF;

// inet_pton refuses leading zeros, but people write them and mean decimal:
// "010.001.002.003" is 10.1.2.3.
QByteArray withoutLeadingZeros(const QString &quad)
{
    QStringList parts = quad.split(u'.');
    for (QString &part : parts) {
        qsizetype zeros = 0;
        while (zeros < part.size() - 1 && part[zeros] == u'0')
            ++zeros;
        part.remove(0, zeros);
    }
    return parts.join(u'.').toLatin1();
}
} // namespace

NumberResource NumberResource::parse(const QString &text)
{
    const NumberResource asn = parseAsn(text);
    return asn.m_kind == Kind::Asn ? asn : parseAddress(text);
}

NumberResource NumberResource::parseAsn(const QString &text)
{
    // "AS1.2" is the dotted form of RFC 5396: 1 * 65536 + 2.
    static const QRegularExpression asPattern(QStringLiteral("^ASN?\\s*([0-9]+)(?:\\.([0-9]+))?$"),
                                              QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch as = asPattern.match(text);
    NumberResource resource;
    if (!as.hasMatch())
        return resource;
    bool highOk = false;
    const uint high = as.captured(1).toUInt(&highOk);
    if (as.hasCaptured(2)) {
        bool lowOk = false;
        const uint low = as.captured(2).toUInt(&lowOk);
        if (!highOk || !lowOk || high > AsdotPartMax || low > AsdotPartMax)
            throw Failure(tr("\"%1\" is not an AS number: in the dotted form, each of the two numbers runs "
                             "from 0 to 65535.")
                              .arg(text));
        resource.m_asn = high << 16 | low;
    } else {
        if (!highOk)
            throw Failure(tr("\"%1\" is not an AS number: AS numbers run from 0 to 4294967295.").arg(text));
        resource.m_asn = high;
    }
    resource.m_kind = Kind::Asn;
    resource.m_typed = text;
    return resource;
}

NumberResource NumberResource::parseAddress(const QString &text)
{
    NumberResource resource;
    if (text.count(u'/') > 1)
        return resource;
    const qsizetype slash = text.indexOf(u'/');
    const QString written = text.left(slash);
    const qsizetype percent = written.indexOf(u'%');
    const QString bare = written.left(percent);

    // Every form inet_aton would read as an IPv4 address: two to four parts,
    // each decimal, octal or hex. Only four decimal parts mean the same
    // thing to every server.
    static const QRegularExpression ipv4Like(QStringLiteral("^(0x[0-9a-f]*|[0-9]+)(\\.(0x[0-9a-f]*|[0-9]+)){1,3}$"),
                                             QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression decimalQuad(QStringLiteral("^[0-9]+(\\.[0-9]+){3}$"));
    std::array<quint8, 16> bytes{};
    int bits = 0;
    if (bare.contains(u':')) {
        if (inet_pton(AF_INET6, bare.toLatin1().constData(), bytes.data()) != 1)
            return resource;
        bits = 128;
    } else if (ipv4Like.match(bare).hasMatch()) {
        if (!decimalQuad.match(bare).hasMatch()
            || inet_pton(AF_INET, withoutLeadingZeros(bare).constData(), bytes.data()) != 1)
            throw Failure(tr("\"%1\" is not an IPv4 address: write an address as four decimal numbers "
                             "from 0 to 255, such as 192.0.2.1.")
                              .arg(text));
        bits = 32;
    } else {
        return resource;
    }

    if (percent >= 0)
        throw Failure(tr("\"%1\" carries a zone index (\"%2\"), which names a link on this computer and "
                         "means nothing to a registry: look the address up without it.")
                          .arg(text, written.mid(percent)));

    if (slash >= 0) {
        static const QRegularExpression digits(QStringLiteral("^[0-9]{1,9}$"));
        const QString length = text.mid(slash + 1);
        resource.m_prefixLength = digits.match(length).hasMatch() ? length.toInt() : -1;
        if (resource.m_prefixLength < 0 || resource.m_prefixLength > bits)
            throw Failure(tr("\"%1\" is not a prefix: the length after \"/\" runs from 0 to %2.").arg(text).arg(bits));
        for (int bit = resource.m_prefixLength; bit < bits; ++bit) {
            quint8 &byte = bytes[bit / 8];
            const quint8 mask = 0x80 >> (bit % 8);
            resource.m_hadHostBits = resource.m_hadHostBits || (byte & mask);
            byte &= ~mask;
        }
    }

    resource.m_kind = Kind::Address;
    resource.m_typed = text;
    resource.m_address = bits == 32 ? QHostAddress(qFromBigEndian<quint32>(bytes.data())) : QHostAddress(bytes.data());
    return resource;
}

NumberResource::Kind NumberResource::kind() const
{
    return m_kind;
}

QString NumberResource::whoisQuery() const
{
    return m_kind == Kind::Asn ? QLatin1String("AS") + value() : value();
}

QString NumberResource::value() const
{
    if (m_kind == Kind::Asn)
        return QString::number(m_asn);
    if (m_kind == Kind::None)
        return {};
    QString text = m_address.toString();
    if (m_prefixLength >= 0)
        text += u'/' + QString::number(m_prefixLength);
    return text;
}

QString NumberResource::rdapPath() const
{
    return (m_kind == Kind::Asn ? QLatin1String("autnum/") : QLatin1String("ip/")) + value();
}

bool NumberResource::hadHostBits() const
{
    return m_hadHostBits;
}

QString NumberResource::typed() const
{
    return m_typed;
}

QHostAddress NumberResource::address() const
{
    return m_address;
}

int NumberResource::prefixLength() const
{
    return m_prefixLength;
}

quint32 NumberResource::asn() const
{
    return m_asn;
}
