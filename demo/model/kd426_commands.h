#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

class QTime;

// The KD-426's line commands, its clock and the printer behind it, as the buttons of the four-line
// demonstration write them.
namespace Kd426 {

// One thing a button does, in order: bytes to write, or a line the person is asked for.
struct Step
{
    QByteArray bytes;      // written as they are; for a prompted line, the command before the reply
    bool prompted = false; // a line asked for: `bytes`, the reply and CR go out as one write
    QString defaultReply;
    QString text; // text in the display's page, written after `bytes` (the printer lines)
};

// What ends a line command, after the reply of a prompted line.
inline const QByteArray kLineEnd("\x0D");

// The steps of Command1 to Command17; nothing for a number without a button. The clock buttons show
// `timeOfDay`.
QList<Step> buttonSteps(int number, const QTime& timeOfDay);

} // namespace Kd426
