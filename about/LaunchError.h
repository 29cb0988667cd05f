#pragma once

#include <QString>

#include <stdexcept>

// An address that could not be handed to the desktop at all, with the reason.
class LaunchError : public std::runtime_error
{
public:
    explicit LaunchError(const QString &description);

    QString description() const;
};
