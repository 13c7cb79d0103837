#pragma once

#include <QByteArray>

class DeviceContext;

// The balance is one unsigned byte.
constexpr int kBalanceMinimum = 0;
constexpr int kBalanceMaximum = 255;

// The 40 "0" characters that fill both lines, so the balance can be judged on a lit screen.
QByteArray BalanceTestPattern();
// 1F 'F' 'b' 0D and the position; a null array for a position outside 0..255.
QByteArray BalanceRecord(int position);

// One cycle of the slider, at the person's port settings (no setup request): the test pattern,
// the balance record, the acknowledgement wait. True when the display acknowledged; a missing
// acknowledgement has been reported. A position outside 0..255 sends nothing.
bool SendBalance(DeviceContext& device, int position);
// Makes the display store the balance it uses now ("FR", "FW"), then restarts it.
bool StoreBalance(DeviceContext& device);
