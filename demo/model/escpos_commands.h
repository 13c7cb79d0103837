#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// The ESC/POS commands the KD-317 demonstrations write: the thirty buttons of the command list, the
// greeting, and what the code-table and international-set windows show.
namespace EscPos {

// What a button of the command list does.
enum class Action {
    Write,             // writes its bytes
    NoBytes,           // names a command for which the display has no bytes defined here
    CursorPosition,    // asks for a row and a column
    Brightness,        // asks for a level
    Blinking,          // asks for an interval
    Initialize,        // initializes the display and turns the cursor on again
    CodeTable,         // hands over to "CHARACTER CODE TABLE"
    InternationalSet,  // hands over to "Internation Character Sets"
    ReverseCharacters, // asks for a text and shows it reversed for a while
    OverwriteMode,     // the three write modes
    VerticalScrollMode,
    HorizontalScrollMode,
    TimeOfDay, // asks for an hour and a minute
    EndTest,   // turns the cursor off and ends the program
};

struct Button
{
    const char* caption;
    Action action;
    QByteArray bytes; // Write: what it writes
};

// Command1 to Command30, in their order.
const QList<Button>& commandList();

// The two lines every start of the command list greets the display with.
inline const QString kGreetingRow1 = QStringLiteral("-WELCOME- TEST MODE-");
inline const QString kGreetingRow2 = QStringLiteral("--YOU CAN CHANG ME--");

inline const QByteArray kClearScreen("\x0C");
inline const QByteArray kCursorHome("\x0B");
inline const QByteArray kCursorOn("\x1F\x43\x01");
inline const QByteArray kCursorOff("\x1F\x43\x00", 3);
inline const QByteArray kInitialize("\x1B\x40");
inline const QByteArray kOverwriteMode("\x1F\x01");
inline const QByteArray kVerticalScrollMode("\x1F\x02");
inline const QByteArray kHorizontalScrollMode("\x1F\x03");
inline const QByteArray kReverseOn("\x1F\x72\x01");
inline const QByteArray kReverseOff("\x1F\x72\x00", 3);
// How long reversed characters stay before reverse is cancelled.
constexpr int kReversePauseMs = 5000;

// US $ n m: the cursor to column n (1 to 20) of row m (1 or 2).
QByteArray cursorPosition(int column, int row);
// US X n, brightness 1 to 4.
QByteArray brightness(int level);
// US E n, blinking n times 50 ms lit and as long dark; 0 stops it.
QByteArray blinking(int interval);
// US T h m, the clock at the right end of the lower row.
QByteArray timeOfDay(int hour, int minute);

// ESC t n, and the upper half of the table it selects as the walk writes it: 00 and the code, one
// write each, from 128 to 255 in four groups of 32. Each group but the last is held for a while and
// then cleared.
QByteArray selectCodeTable(int table);
constexpr int kCodeTableGroups = 4;
constexpr int kCodeTableGroupPauseMs = 8000;
QList<QByteArray> codeTableGroup(int group);

// Where the international-set window leaves the cursor when it starts: column 3 of row 1.
inline const QByteArray kInternationalSetStart("\x1F\x24\x03\x01", 4);
// ESC R n, then the set's name from column 5 of row 1 and, on row 2, the twelve characters that differ
// between the sets: one write each.
QList<QByteArray> showInternationalSet(int set, const QString& name);

} // namespace EscPos
