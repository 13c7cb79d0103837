#pragma once

#include <QByteArray>

// An emulator reads its input one command at a time: `step` takes the bytes that wait, handles the
// command at their head and says how many bytes it used, or 0 when that command is not complete yet.
// A command split over two writes then waits in `pending` for its rest.
template <typename Step> void feedInSteps(QByteArray& pending, const QByteArray& bytes, Step step)
{
    pending += bytes;
    while (!pending.isEmpty()) {
        const int used = step(pending);
        if (used == 0)
            return;
        pending.remove(0, used);
    }
}
