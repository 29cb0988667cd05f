// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Marrowby Industries

#pragma once

#include <QObject>

#include <atomic>

// The user's request to stop a lookup; each lookup has one of its own.
// Every exchange listens to it while it waits and then ends with
// LookupStopped. Once raised it stays raised, so a step that starts after
// it stops at once. The window thread raises it while the lookup waits in
// a thread of its own: the signal reaches the waiting exchange through that
// thread's event loop, and the flag is read there.
class StopRequest : public QObject
{
    Q_OBJECT

public:
    void raise();
    bool isRaised() const;

signals:
    void raised();

private:
    std::atomic<bool> m_raised = false;
};
