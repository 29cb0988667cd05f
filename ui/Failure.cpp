#include "ui/Failure.h"

Failure::Failure(const QString &description)
    : std::runtime_error(description.toStdString())
{
}

QString Failure::description() const
{
    return QString::fromStdString(what());
}
