#pragma once

#include <QString>

#include <stdexcept>

// A lookup that failed, with a description the user can act on.
class LookupError : public std::runtime_error
{
public:
    explicit LookupError(const QString &description);

    QString description() const;
};
