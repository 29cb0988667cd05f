// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Marrowby Industries

#pragma once

#include <QtGlobal>

// A port on 127.0.0.1 that answers no connection attempt: its backlog is
// full, so the kernel drops every new attempt unanswered, as a dead address
// on the internet does, and the client waits for its own time-out.
class SilentListener
{
public:
    SilentListener();
    ~SilentListener();
    SilentListener(const SilentListener &) = delete;
    SilentListener &operator=(const SilentListener &) = delete;

    // 0 when the listener could not be set up.
    quint16 port() const;

private:
    int m_listener = -1;
    int m_filler = -1;
    quint16 m_port = 0;
};
