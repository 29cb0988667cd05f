// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Marrowby Industries

#pragma once

#include <QList>

#include <functional>

// Timing and memory figures. Every figure is the median of several runs,
// so a stray slow run on a busy machine does not move it.
class Measure
{
public:
    struct Pair {
        double measured = 0; // milliseconds
        double floor = 0;
    };

    // Runs measured and floor alternately, after one unmeasured run of
    // each, so both see the same state of the machine. prepare, when given,
    // runs untimed before every run of either.
    static Pair paired(int repetitions, const std::function<void()> &measured,
                       const std::function<void()> &floor, const std::function<void()> &prepare = {});
    static double medianMs(int repetitions, const std::function<void()> &run,
                           const std::function<void()> &prepare = {});
    static double median(QList<double> values);

    // VmRSS of this process, in bytes.
    static double residentBytes();
    // VmHWM, the most this process has had resident since the last
    // resetPeak(), in bytes.
    static double peakResidentBytes();
    // Throws std::runtime_error when the kernel will not reset the peak.
    static void resetPeak();
};
