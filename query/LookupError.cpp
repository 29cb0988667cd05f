#include "query/LookupError.h"

LookupError::LookupError(const QString &description)
    : std::runtime_error(description.toStdString())
{
}

QString LookupError::description() const
{
    return QString::fromStdString(what());
}
