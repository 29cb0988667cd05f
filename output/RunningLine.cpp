#include "output/RunningLine.h"

RunningLine::Zones RunningLine::format(const QString &line, int page)
{
    const QString number = QString::number(page);
    const auto fill = [&](QStringView zone) {
        QString text = zone.toString();
        text.replace(QLatin1String("%d"), number);
        return text;
    };

    const qsizetype first = line.indexOf(QLatin1Char('|'));
    if (first < 0)
        return {fill(line), {}, {}};
    const qsizetype second = line.indexOf(QLatin1Char('|'), first + 1);
    if (second < 0)
        return {fill(QStringView(line).left(first)), fill(QStringView(line).mid(first + 1)), {}};
    return {fill(QStringView(line).left(first)), fill(QStringView(line).mid(first + 1, second - first - 1)),
            fill(QStringView(line).mid(second + 1))};
}
