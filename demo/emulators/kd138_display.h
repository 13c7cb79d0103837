#pragma once

#include "widgets/vfd_frame.h"

#include <QByteArray>

class SimLog;

// The KD-138: one row of twenty characters. ESC "QA", text and CR put a line on it; FF clears it;
// other characters are written at the cursor.
class Kd138Display
{
public:
    static constexpr int kColumns = 20;
    static constexpr int kMaxLineBytes = 256;

    explicit Kd138Display(SimLog& log) : log_(log) {}

    void feed(const QByteArray& bytes);
    void powerOn();

    VfdFrame frame() const;
    QString text() const { return grid_.rowText(0); }
    int cursorColumn() const { return column_; }

private:
    int step(const QByteArray& pending);
    void put(unsigned char byte);

    SimLog& log_;
    QByteArray pending_;
    VfdGrid grid_{1, kColumns};
    int column_ = 0;
};
