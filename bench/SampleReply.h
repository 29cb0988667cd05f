// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Marrowby Industries

#pragma once

#include <QByteArray>
#include <QUrl>

// Replies shaped like the real ones, in any size, for the benchmark servers.
class SampleReply
{
public:
    // A registry record for EXAMPLE.COM with CR LF line ends, padded with
    // further record lines to exactly bytes. A registrar server, when given,
    // is named in the record's first lines.
    static QByteArray whois(qsizetype bytes, const QByteArray &registrarServer = {});

    // An RDAP bootstrap file that sends com to base.
    static QByteArray rdapBootstrap(const QUrl &base);
    // A registrar's RDAP record of the usual size (about 3 KiB).
    static QByteArray rdapDomain(const QByteArray &name);

    // A whole HTTP/1.1 response that ends with the connection.
    static QByteArray http(const QByteArray &body, int status = 200);
};
