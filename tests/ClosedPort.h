// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Marrowby Industries

#pragma once

#include <QtGlobal>

// A port on 127.0.0.1 that is held but never listened on, so every
// connection to it is refused at once and no other program can take it.
class ClosedPort
{
public:
    ClosedPort();
    ~ClosedPort();

    ClosedPort(const ClosedPort &) = delete;
    ClosedPort &operator=(const ClosedPort &) = delete;

    quint16 port() const;

private:
    int m_fd = -1;
    quint16 m_port = 0;
};
