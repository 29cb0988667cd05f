// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Marrowby Industries

#pragma once

#include <QString>

#include <stdexcept>

// Something that could not be done (a lookup, a link handed to the desktop),
// with a description the user can act on.
class Failure : public std::runtime_error
{
public:
    explicit Failure(const QString &description);

    QString description() const;
};
