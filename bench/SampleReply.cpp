// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Marrowby Industries

#include "SampleReply.h"

namespace {
const QByteArray Head = "   Domain Name: EXAMPLE.COM\r\n"
                        "   Registry Domain ID: 2336799_DOMAIN_COM-VRSN\r\n";
const QByteArray Tail = ">>> Last update of whois database: 2026-12-08T00:00:00Z <<<\r\n";

QByteArray fieldLine(int n)
{
    const QByteArray number = QByteArray::number(n).rightJustified(7, '0');
    switch (n % 4) {
    case 0:
        return "   Name Server: NS" + number + ".EXAMPLE-NAMESERVERS.NET\r\n";
    case 1:
        return "   Domain Status: clientTransferProhibited https://icann.org/epp#" + number + "\r\n";
    case 2:
        return "   Updated Date: 2026-08-14T07:01:" + number.right(2) + "Z record " + number + "\r\n";
    default:
        return "   Registrar Abuse Contact Email: abuse-" + number + "@registrar.example\r\n";
    }
}
} // namespace

QByteArray SampleReply::whois(qsizetype bytes, const QByteArray &registrarServer)
{
    QByteArray reply = Head;
    if (!registrarServer.isEmpty())
        reply += "   Registrar WHOIS Server: " + registrarServer + "\r\n";
    reply.reserve(bytes);
    for (int n = 0; reply.size() + Tail.size() < bytes; ++n)
        reply += fieldLine(n);
    reply += Tail;
    // Trim the padding so that the size is exact; the cut lands inside a
    // field line, which is then simply shorter.
    const qsizetype over = reply.size() - bytes;
    if (over > 0) {
        const qsizetype tailAt = reply.size() - Tail.size();
        reply.remove(tailAt - 2 - over, over);
    }
    return reply;
}

QByteArray SampleReply::rdapBootstrap(const QUrl &base)
{
    return R"({"version": "1.0", "publication": "2026-12-01T00:00:00Z", "services": [[["net"], ["https://rdap.net.example/"]], [["com"], [")"
        + base.toEncoded() + R"("]]]})";
}

QByteArray SampleReply::rdapDomain(const QByteArray &name)
{
    QByteArray nameservers;
    for (int i = 1; i <= 4; ++i) {
        nameservers += (i > 1 ? "," : "") + QByteArray(R"({"objectClassName": "nameserver", "ldhName": "ns)")
            + QByteArray::number(i) + R"(.example-nameservers.net"})";
    }
    return R"({"objectClassName": "domain", "handle": "2336799_DOMAIN_COM-VRSN", "ldhName": ")" + name
        + R"(", "rdapConformance": ["rdap_level_0", "icann_rdap_response_profile_0"],)"
          R"( "status": ["client delete prohibited", "client transfer prohibited", "client update prohibited"],)"
          R"( "events": [{"eventAction": "registration", "eventDate": "1995-08-14T04:00:00Z"},)"
          R"( {"eventAction": "expiration", "eventDate": "2027-08-13T04:00:00Z"},)"
          R"( {"eventAction": "last changed", "eventDate": "2026-08-14T07:01:38Z"}],)"
          R"( "entities": [{"objectClassName": "entity", "handle": "376", "roles": ["registrar"],)"
          R"( "publicIds": [{"type": "IANA Registrar ID", "identifier": "376"}],)"
          R"( "vcardArray": ["vcard", [["version", {}, "text", "4.0"], ["fn", {}, "text", "Example Registrar, Inc."]]],)"
          R"( "entities": [{"objectClassName": "entity", "roles": ["abuse"], "vcardArray": ["vcard",)"
          R"( [["version", {}, "text", "4.0"], ["fn", {}, "text", "Abuse Desk"], ["tel", {"type": "voice"}, "uri", "tel:+1.5555550100"],)"
          R"( ["email", {}, "text", "abuse@registrar.example"]]]}]},)"
          R"( {"objectClassName": "entity", "roles": ["registrant"], "vcardArray": ["vcard",)"
          R"( [["version", {}, "text", "4.0"], ["fn", {}, "text", "REDACTED FOR PRIVACY"], ["org", {}, "text", "Example Holdings"],)"
          R"( ["adr", {}, "text", ["", "", "", "", "CA", "", "US"]]]]}],)"
          R"( "nameservers": [)" + nameservers + R"(],)"
          R"( "secureDNS": {"delegationSigned": false},)"
          R"( "notices": [{"title": "Terms of Use", "description": ["Service subject to Terms of Use."],)"
          R"( "links": [{"href": "https://www.example/terms", "type": "text/html"}]},)"
          R"( {"title": "Status Codes", "description": ["For more information on domain status codes, please visit https://icann.org/epp"],)"
          R"( "links": [{"href": "https://icann.org/epp", "type": "text/html"}]}]})";
}

QByteArray SampleReply::http(const QByteArray &body, int status)
{
    return "HTTP/1.1 " + QByteArray::number(status) + (status == 200 ? " OK" : " Not Found")
        + "\r\nContent-Type: application/rdap+json\r\nContent-Length: " + QByteArray::number(body.size())
        + "\r\nConnection: close\r\n\r\n" + body;
}
