// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Marrowby Industries

#pragma once

#include <QObject>

// The user's request to stop the running lookup. Every exchange listens to
// it while it waits and then ends with LookupStopped. It stays raised until
// the next lookup clears it, so a step that starts after it stops at once.
class StopRequest : public QObject
{
    Q_OBJECT

public:
    void raise();
    void clear();
    bool isRaised() const;

signals:
    void raised();

private:
    bool m_raised = false;
};
