#pragma once

#include "setup/protocol/outcome.h"

#include <QByteArray>

struct DisplayAccess;

// The balance is one unsigned byte.
constexpr int kBalanceMinimum = 0;
constexpr int kBalanceMaximum = 255;

// The 40 "0" characters that fill both lines, so the balance can be judged on a lit screen.
QByteArray balanceTestPattern();
// 1F 'F' 'b' 0D and the position; a null array for a position outside 0..255.
QByteArray balanceRecord(int position);

// One cycle of the slider, at the person's port settings (no setup request): the test pattern,
// the balance record, the acknowledgement wait. Done when the display acknowledged; a missing
// acknowledgement has been shown at its point. A position outside 0..255 is refused with nothing sent.
Outcome sendBalance(DisplayAccess& access, int position);
// Makes the display store the balance it uses now ("FR", "FW"), then restarts it.
Outcome storeBalance(DisplayAccess& access);
