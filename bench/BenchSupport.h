// SPDX-License-Identifier: MIT
#pragma once

#include <QElapsedTimer>
#include <QProcess>
#include <QString>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

// Median wall time in milliseconds of runs of a piece of work.
inline double medianMs(int runs, const std::function<void()> &work, const std::function<void()> &before = {})
{
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        if (before)
            before();
        QElapsedTimer timer;
        timer.start();
        work();
        times.push_back(timer.nsecsElapsed() / 1e6);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

// Runs a command through the shell, output discarded.
inline void runShell(const QString &command)
{
    QProcess::execute(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), command + QStringLiteral(" >/dev/null 2>&1")});
}

inline void report(const char *what, double ms)
{
    std::printf("%-58s %10.2f ms\n", what, ms);
}
