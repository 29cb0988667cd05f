// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Marrowby Industries

#include "Measure.h"

#include <QElapsedTimer>
#include <QFile>

#include <algorithm>
#include <stdexcept>

namespace {
double timeMs(const std::function<void()> &run, const std::function<void()> &prepare)
{
    if (prepare)
        prepare();
    QElapsedTimer timer;
    timer.start();
    run();
    return double(timer.nsecsElapsed()) / 1e6;
}

// A field of /proc/self/status given in kB, in bytes.
double statusBytes(const QByteArray &field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith(field))
            return line.mid(field.size()).trimmed().split(' ').value(0).toDouble() * 1024;
    }
    return 0;
}
} // namespace

Measure::Pair Measure::paired(int repetitions, const std::function<void()> &measured,
                              const std::function<void()> &floor, const std::function<void()> &prepare)
{
    timeMs(measured, prepare);
    timeMs(floor, prepare);
    QList<double> measuredMs;
    QList<double> floorMs;
    for (int i = 0; i < repetitions; ++i) {
        measuredMs.append(timeMs(measured, prepare));
        floorMs.append(timeMs(floor, prepare));
    }
    return {median(measuredMs), median(floorMs)};
}

double Measure::medianMs(int repetitions, const std::function<void()> &run,
                         const std::function<void()> &prepare)
{
    timeMs(run, prepare);
    QList<double> ms;
    for (int i = 0; i < repetitions; ++i)
        ms.append(timeMs(run, prepare));
    return median(ms);
}

double Measure::median(QList<double> values)
{
    if (values.isEmpty())
        return 0;
    std::sort(values.begin(), values.end());
    const qsizetype middle = values.size() / 2;
    return values.size() % 2 ? values.at(middle) : (values.at(middle - 1) + values.at(middle)) / 2;
}

double Measure::residentBytes()
{
    return statusBytes("VmRSS:");
}

double Measure::peakResidentBytes()
{
    return statusBytes("VmHWM:");
}

void Measure::resetPeak()
{
    QFile clearRefs(QStringLiteral("/proc/self/clear_refs"));
    if (!clearRefs.open(QIODevice::WriteOnly) || clearRefs.write("5") != 1)
        throw std::runtime_error("the peak resident memory cannot be reset");
}
