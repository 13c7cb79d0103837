// The KD-317's commands as one table, and its characters and cursor moves. At the edges of the screen
// the moves follow the write mode:
//
// - overwrite: the cursor wraps, the end of the lower row leads to home and home back to it;
// - vertical scroll: past the end of the lower row the screen scrolls up. The displays of this kind
//   disagree on when: some scroll as soon as the last cell is written, which leaves an empty lower row
//   that nothing has asked for; the common behaviour, kept here, is that the cursor waits past the end
//   and the scroll comes with the next character;
// - horizontal scroll: the cursor stays on its row; past the end each new character pushes the row
//   one cell to the left and lands in the last cell.
#include "demo/emulators/kd317_commands.h"

#include "demo/emulators/code_table.h"
#include "demo/emulators/international_set.h"
#include "demo/emulators/kd317_screen.h"
#include "demo/emulators/sim_log.h"

namespace {

using Screen = Kd317Screen;
using WriteMode = Kd317Screen::WriteMode;

constexpr unsigned char kEsc = 0x1B;
constexpr unsigned char kUs = 0x1F;
constexpr int kLastColumn = Screen::kColumns - 1;

char32_t shown(const Screen& screen, unsigned char byte)
{
    if (byte == 0x7F)
        return U'⌂';
    return byte < 0x80 ? internationalCharacter(screen.internationalSet, byte)
                       : upperHalfCharacter(screen.codeTable, byte);
}

void place(Screen& screen, int row, int column)
{
    screen.row = row;
    screen.column = column;
    screen.pastEnd = false;
}

void writeCharacter(Screen& screen, unsigned char byte)
{
    if (screen.pastEnd) {
        if (screen.mode == WriteMode::VerticalScroll) {
            screen.grid.scrollUp();
            place(screen, screen.row, 0);
        } else if (screen.mode == WriteMode::HorizontalScroll) {
            screen.grid.shiftLeft(screen.row);
        }
    }
    screen.grid.at(screen.row, screen.column) = VfdCell{shown(screen, byte), screen.reverse};
    if (screen.column < kLastColumn) {
        ++screen.column;
        return;
    }
    switch (screen.mode) {
    case WriteMode::Overwrite:
        place(screen, screen.row == 0 ? 1 : 0, 0);
        break;
    case WriteMode::VerticalScroll:
        if (screen.row == 0)
            place(screen, 1, 0);
        else
            screen.pastEnd = true;
        break;
    case WriteMode::HorizontalScroll:
        screen.pastEnd = true;
        break;
    }
}

void moveRight(Screen& screen)
{
    if (screen.column < kLastColumn && !screen.pastEnd) {
        ++screen.column;
        return;
    }
    screen.pastEnd = false;
    if (screen.mode == WriteMode::HorizontalScroll)
        return;
    if (screen.row == 0)
        screen.row = 1;
    else if (screen.mode == WriteMode::VerticalScroll)
        screen.grid.scrollUp();
    else
        screen.row = 0;
    screen.column = 0;
}

void moveLeft(Screen& screen)
{
    screen.pastEnd = false;
    if (screen.column > 0) {
        --screen.column;
        return;
    }
    if (screen.mode == WriteMode::HorizontalScroll)
        return;
    if (screen.row == 1)
        screen.row = 0;
    else if (screen.mode == WriteMode::VerticalScroll)
        screen.grid.scrollDown();
    else
        screen.row = 1;
    screen.column = kLastColumn;
}

// Down (LF) or up (US LF) a row, keeping the column; past the edge the screen scrolls in vertical
// mode and the cursor wraps otherwise.
void moveRow(Screen& screen, bool down)
{
    screen.pastEnd = false;
    if (screen.row == (down ? 0 : 1))
        screen.row = down ? 1 : 0;
    else if (screen.mode != WriteMode::VerticalScroll)
        screen.row = down ? 0 : 1;
    else if (down)
        screen.grid.scrollUp();
    else
        screen.grid.scrollDown();
}

void setMode(Screen& screen, WriteMode mode)
{
    screen.mode = mode;
    screen.pastEnd = false;
}

void clearScreen(Screen& screen)
{
    screen.grid.clear();
    place(screen, 0, 0);
    screen.timeShown = false;
}

// One command: the byte that starts it (a control code, ESC or US) and, after ESC or US, its letter;
// the parameter bytes that follow; which parameters it takes (any, when there is no check) and what the
// record says of others; and what it does.
struct Command
{
    unsigned char lead;
    int letter; // -1 for a control code
    int parameters;
    bool (*accepts)(int n, int m);
    const char* refusal;
    void (*run)(Screen& screen, int n, int m, qint64 nowMs);
};

constexpr Command kCommands[] = {
    // Control codes. NUL is filler: the code-table walk puts one before every character.
    {0x00, -1, 0, nullptr, nullptr, [](Screen&, int, int, qint64) {}},
    {0x08, -1, 0, nullptr, nullptr, [](Screen& s, int, int, qint64) { moveLeft(s); }},
    {0x09, -1, 0, nullptr, nullptr, [](Screen& s, int, int, qint64) { moveRight(s); }},
    {0x0A, -1, 0, nullptr, nullptr, [](Screen& s, int, int, qint64) { moveRow(s, true); }},
    {0x0B, -1, 0, nullptr, nullptr, [](Screen& s, int, int, qint64) { place(s, 0, 0); }},
    {0x0C, -1, 0, nullptr, nullptr, [](Screen& s, int, int, qint64) { clearScreen(s); }},
    {0x0D, -1, 0, nullptr, nullptr, [](Screen& s, int, int, qint64) { place(s, s.row, 0); }},
    {0x18, -1, 0, nullptr, nullptr,
     [](Screen& s, int, int, qint64) {
         s.grid.clearRow(s.row);
         place(s, s.row, 0);
     }},
    // ESC: initialize, code table, international set.
    {kEsc, '@', 0, nullptr, nullptr, [](Screen& s, int, int, qint64) { s.initialize(); }},
    {kEsc, 't', 1, [](int n, int) { return findCodeTable(n) != nullptr; }, "no such code table",
     [](Screen& s, int n, int, qint64) { s.codeTable = n; }},
    {kEsc, 'R', 1, [](int n, int) { return n < kInternationalSetCount; }, "no such international set",
     [](Screen& s, int n, int, qint64) { s.internationalSet = n; }},
    // US: write modes, cursor, brightness, blinking, reverse, clock, self-test.
    {kUs, 0x01, 0, nullptr, nullptr, [](Screen& s, int, int, qint64) { setMode(s, WriteMode::Overwrite); }},
    {kUs, 0x02, 0, nullptr, nullptr,
     [](Screen& s, int, int, qint64) { setMode(s, WriteMode::VerticalScroll); }},
    {kUs, 0x03, 0, nullptr, nullptr,
     [](Screen& s, int, int, qint64) { setMode(s, WriteMode::HorizontalScroll); }},
    {kUs, 0x0A, 0, nullptr, nullptr, [](Screen& s, int, int, qint64) { moveRow(s, false); }},
    {kUs, 0x0D, 0, nullptr, nullptr, [](Screen& s, int, int, qint64) { place(s, s.row, kLastColumn); }},
    {kUs, 'B', 0, nullptr, nullptr, [](Screen& s, int, int, qint64) { place(s, Screen::kRows - 1, 0); }},
    {kUs, '$', 2,
     [](int n, int m) { return n >= 1 && n <= Screen::kColumns && m >= 1 && m <= Screen::kRows; },
     "cursor position off the screen", [](Screen& s, int n, int m, qint64) { place(s, m - 1, n - 1); }},
    {kUs, 'C', 1, [](int n, int) { return n <= 1; }, "cursor display takes 0 or 1",
     [](Screen& s, int n, int, qint64) { s.cursorOn = n == 1; }},
    {kUs, 'X', 1, [](int n, int) { return n >= 1 && n <= 4; }, "brightness takes 1 to 4",
     [](Screen& s, int n, int, qint64) { s.brightness = n; }},
    {kUs, 'E', 1, nullptr, nullptr,
     [](Screen& s, int n, int, qint64 now) {
         s.blink = n;
         s.blinkSince = now;
     }},
    {kUs, 'r', 1, [](int n, int) { return n <= 1; }, "reverse takes 0 or 1",
     [](Screen& s, int n, int, qint64) { s.reverse = n == 1; }},
    {kUs, 'T', 2, [](int n, int m) { return n < 24 && m < 60; }, "no such time of day",
     [](Screen& s, int n, int m, qint64 now) {
         s.timeShown = true;
         s.timeMinutes = n * 60 + m;
         s.timeSince = now;
     }},
    // Shows the clock again from where it stands (from 00:00 when it was never set).
    {kUs, 'U', 0, nullptr, nullptr, [](Screen& s, int, int, qint64) { s.timeShown = true; }},
    {kUs, '@', 0, nullptr, nullptr,
     [](Screen& s, int, int, qint64 now) {
         s.selfTest = true;
         s.selfTestSince = now;
     }},
};

const Command* findCommand(unsigned char lead, int letter)
{
    for (const Command& command : kCommands) {
        if (command.lead == lead && command.letter == letter)
            return &command;
    }
    return nullptr;
}

unsigned char at(const QByteArray& bytes, int index)
{
    return static_cast<unsigned char>(bytes.at(index));
}

} // namespace

void Kd317Screen::initialize()
{
    grid.clear();
    place(*this, 0, 0);
    // Off until the host switches it on: the demonstration follows ESC @ with 1F 43 01 for that reason.
    cursorOn = false;
    mode = WriteMode::Overwrite;
    brightness = 4;
    blink = 0;
    reverse = false;
    codeTable = 0;
    internationalSet = 0;
    timeShown = false;
}

int runKd317Command(Kd317Screen& screen, const QByteArray& pending, qint64 nowMs, SimLog& log)
{
    const unsigned char lead = at(pending, 0);
    const bool lettered = lead == kEsc || lead == kUs;
    if (!lettered && lead >= 0x20) {
        writeCharacter(screen, lead);
        return 1;
    }
    if (lettered && pending.size() < 2)
        return 0;
    const Command* command = findCommand(lead, lettered ? at(pending, 1) : -1);
    const int head = lettered ? 2 : 1;
    if (command == nullptr) {
        log.add(QStringLiteral("KD-317"),
                lead == kEsc  ? QStringLiteral("unknown ESC command")
                : lead == kUs ? QStringLiteral("unknown US command")
                              : QStringLiteral("unknown control code"),
                pending.left(head));
        return head;
    }
    const int length = head + command->parameters;
    if (pending.size() < length)
        return 0;
    const int n = command->parameters > 0 ? at(pending, head) : 0;
    const int m = command->parameters > 1 ? at(pending, head + 1) : 0;
    if (command->accepts != nullptr && !command->accepts(n, m))
        log.add(QStringLiteral("KD-317"), QString::fromLatin1(command->refusal), pending.left(length));
    else
        command->run(screen, n, m, nowMs);
    return length;
}
