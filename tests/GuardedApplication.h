// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Marrowby Industries

#pragma once

#include "app/Application.h"

// The program's application object, except that an exception escaping an
// event handler fails the running test: the program's last resort would end
// every event loop and so every later test.
class GuardedApplication : public Application
{
    Q_OBJECT

public:
    using Application::Application;

    bool notify(QObject *receiver, QEvent *event) override;
};
