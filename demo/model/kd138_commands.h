#pragma once

#include <QByteArray>

// The KD-138's two line commands, as the one-line demonstration's buttons write them, each as one
// write.
namespace Kd138 {

// "INPUT LINE 1": ESC "QA", always the same eleven digits, and CR.
inline const QByteArray kInputLine1("\x1B\x51\x41"
                                    "12345678901\x0D");
// "CLEAR DISPLAY".
inline const QByteArray kClearDisplay("\x0C\x0D");

} // namespace Kd138
