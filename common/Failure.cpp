// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Marrowby Industries

#include "common/Failure.h"

Failure::Failure(const QString &description)
    : std::runtime_error(description.toStdString())
{
}

QString Failure::description() const
{
    return QString::fromStdString(what());
}
