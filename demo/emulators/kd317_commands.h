#pragma once

#include <QByteArray>
#include <QtGlobal>

struct Kd317Screen;
class SimLog;

// Runs the KD-317 command at the head of `pending` on `screen`: a character, a control code, or ESC or
// US with its letter and parameters. Returns the bytes it took, or 0 while the command has not arrived
// whole. A command the display does not know, or a parameter outside its range, is skipped and noted in
// `log`. `nowMs` is the display's clock, where the command starts a timed state.
int runKd317Command(Kd317Screen& screen, const QByteArray& pending, qint64 nowMs, SimLog& log);
