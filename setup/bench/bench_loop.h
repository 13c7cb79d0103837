// What the wait benchmarks share: the process's processor time, and the floor they are read against.
#pragma once

#include "core/pacer.h"

#include <QString>
#include <QTextStream>
#include <algorithm>
#include <ctime>

#ifdef Q_OS_WIN
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#endif

// The processor time this process has used, user and system. Windows' clock() counts the wall time
// since the start instead, so there it is asked of the system.
inline double processSeconds()
{
#ifdef Q_OS_WIN
    FILETIME created, ended, system, user;
    if (!::GetProcessTimes(::GetCurrentProcess(), &created, &ended, &system, &user))
        return 0;
    const auto ticks = [](const FILETIME& t) {
        return (static_cast<quint64>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
    };
    return static_cast<double>(ticks(system) + ticks(user)) / 1e7; // in 100 ns
#else
    return static_cast<double>(std::clock()) / CLOCKS_PER_SEC;
#endif
}

// The floor: nothing but the pacer's pause and a clock reading, for `seconds`: what a bare 1 ms pause loop
// costs on this machine now (a virtual machine's scheduler can hold a sleeping thread for several
// milliseconds). Prints it and returns its processor time as a share of one core.
inline double measureBareLoop(QTextStream& out, RealPacer& pacer, double seconds)
{
    const double wallStart = pacer.now();
    const double cpuStart = processSeconds();
    double last = wallStart;
    double longestGap = 0;
    long samples = 0;
    while (pacer.now() - wallStart < seconds) {
        pacer.pump();
        const double now = pacer.now();
        longestGap = std::max(longestGap, now - last);
        last = now;
        ++samples;
    }
    const double wall = pacer.now() - wallStart;
    const double cpu = processSeconds() - cpuStart;
    out << QStringLiteral("%1: %2 s; processor %3 s = %4 % of one core; %5 passes, longest gap %6 ms\n")
               .arg(QStringLiteral("bare pause loop (machine's floor)"), -34)
               .arg(wall, 0, 'f', 3)
               .arg(cpu, 0, 'f', 3)
               .arg(100.0 * cpu / wall, 0, 'f', 2)
               .arg(samples)
               .arg(longestGap * 1000.0, 0, 'f', 2);
    out.flush();
    return cpu / wall;
}
