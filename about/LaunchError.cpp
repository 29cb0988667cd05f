#include "about/LaunchError.h"

LaunchError::LaunchError(const QString &description)
    : std::runtime_error(description.toStdString())
{
}

QString LaunchError::description() const
{
    return QString::fromStdString(what());
}
