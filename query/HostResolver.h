// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Marrowby Industries

#pragma once

#include <QHostAddress>
#include <QList>
#include <QString>

#include <functional>

class QObject;

// Finds the addresses at which a server is reached. The lookup asks the
// system's resolver; tests put their own servers behind the names.
class HostResolver
{
public:
    struct Address {
        QHostAddress ip;
        quint16 port = 0;
    };
    struct Endpoint {
        QList<Address> addresses; // in the order to try them
        QString error;            // set when the name did not resolve
    };
    using Callback = std::function<void(const Endpoint &)>;

    virtual ~HostResolver();

    // Calls done from the event loop, unless context is gone by then.
    virtual void resolve(const QString &host, quint16 port, QObject *context, Callback done) const;
};
