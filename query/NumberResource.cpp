// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Marrowby Industries

#include "query/NumberResource.h"

#include <QRegularExpression>

NumberResource NumberResource::parse(const QString &text)
{
    NumberResource resource;
    static const QRegularExpression asPattern(QStringLiteral("^ASN?\\s*(\\d{1,10})$"),
                                              QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch as = asPattern.match(text);
    bool ok = false;
    const quint32 number = as.hasMatch() ? as.captured(1).toUInt(&ok) : 0;
    if (ok) {
        resource.m_kind = Kind::Asn;
        resource.m_asn = number;
        return resource;
    }

    // Only the forms people write: dotted quads and IPv6, not "127.1" or a bare integer.
    const QString addressPart = text.section(u'/', 0, 0);
    if (!addressPart.contains(u':') && addressPart.count(u'.') != 3)
        return resource;
    QHostAddress address;
    if (!text.contains(u'/') && address.setAddress(text) && address.scopeId().isEmpty()) {
        resource.m_kind = Kind::Address;
        resource.m_address = address;
    } else if (text.count(u'/') == 1) {
        const auto [network, length] = QHostAddress::parseSubnet(text);
        if (network.isNull())
            return resource;
        resource.m_kind = Kind::Address;
        resource.m_address = network;
        resource.m_prefixLength = length;
    } else {
        return resource;
    }
    resource.m_text = text;
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
    return m_kind == Kind::Asn ? QString::number(m_asn) : m_text;
}

QString NumberResource::rdapPath() const
{
    if (m_kind == Kind::Asn)
        return QLatin1String("autnum/") + QString::number(m_asn);
    QString path = QLatin1String("ip/") + m_address.toString();
    if (m_prefixLength >= 0)
        path += u'/' + QString::number(m_prefixLength);
    return path;
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
