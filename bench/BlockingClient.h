// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Marrowby Industries

#pragma once

#include <QByteArray>

// The floor a lookup is measured against: the least a program can do to get
// a reply, with one blocking socket and no event loop.
class BlockingClient
{
public:
    // Connects to 127.0.0.1:port, sends request and reads until the server
    // closes; returns the bytes read.
    static QByteArray fetch(quint16 port, const QByteArray &request);

    // Connects to 127.0.0.1:port and returns true when the connection is refused.
    static bool refused(quint16 port);
};
