// The thirty command buttons of the ESC/POS demonstration and what each writes.
#include "windows/escpos_demo_window.h"

#include "link/demo_context.h"
#include "model/byte_text.h"
#include "model/reply_number.h"
#include "windows/mirror_grid.h"
#include "windows/window_chain.h"
#include "windows/wrapping_button.h"

#include <QGridLayout>

namespace {

struct EpsonCommand
{
    const char* caption;
    QByteArray bytes; // what a button without prompts writes; empty for the others
};

const QList<EpsonCommand>& escPosCommands()
{
    static const QList<EpsonCommand> commands = {
        {"Move cursou right", "\x09"},
        {"Move cursor left", "\x08"},
        {"Move cursor up", "\x1F\x0A"},
        {"Move cursor down", "\x0A"},
        {"Move cursor to right-most position", "\x1F\x0D"},
        {"Move cursor to left-most position", "\x0D"},
        {"Move cursor to home position", "\x0B"},
        {"Move cursor to bottom position", "\x1F\x42"},
        {"Move cursor to specified position", {}},
        {"Clear display screen", "\x0C"},
        {"Brightness adjustment", {}},
        {"Blink display screen", {}},
        {"Initialize display", {}},
        {"Select character code table", {}},
        {"select international character set", {}},
        {"Select/cancel reverse character", {}},
        {"Specify overwrite mode", {}},
        {"Specify vertical scroll mode", {}},
        {"Specify horizontal scroll mode", {}},
        {"Define download characters", {}},
        {"Delete download characters", {}},
        {"Select/cancel download character set", {}},
        {"Specify/cancel the windows range", {}},
        {"Select  peripheral device(chang to printer)", {}},
        {"Set starting/ending position of macro definition", {}},
        {"Execute and guit macro", {}},
        {"Execute self-test", QByteArray("\x1F\x40", 2)},
        {"Display time", {}},
        {"Display time continuously", {}},
        {"END TEST", {}},
    };
    return commands;
}

// The buttons stand in four columns: 1 to 8, 9 to 16, 17 to 24, 25 to 30.
constexpr int ColumnHeight = 8;

} // namespace

void EscPosDemoWindow::buildCommands(QWidget* area)
{
    auto* grid = new QGridLayout(area);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setHorizontalSpacing(10);
    grid->setVerticalSpacing(6);
    const QList<EpsonCommand>& commands = escPosCommands();
    for (int i = 0; i < commands.size(); ++i) {
        auto* button = new WrappingButton(QString::fromLatin1(commands[i].caption));
        button->setObjectName(QStringLiteral("Command%1").arg(i + 1));
        grid->addWidget(button, i % ColumnHeight, i / ColumnHeight);
        connect(button, &QPushButton::clicked, this, [this, number = i + 1] { commandClicked(number); });
    }
    grid->setRowStretch(ColumnHeight, 1);
}

void EscPosDemoWindow::commandClicked(int number)
{
    const QByteArray& fixed = escPosCommands()[number - 1].bytes;
    if (!fixed.isEmpty()) {
        send(fixed);
        return;
    }
    switch (number) {
    case 9:
        return moveCursor();
    case 11:
        return setBrightness();
    case 12:
        return setBlinking();
    case 13:
        send(PortJob().write("\x1B\x40").write("\x1F\x43\x01"));
        return;
    case 14:
        port_.close();
        navigator_.showCodeTable();
        return;
    case 15:
        port_.close();
        navigator_.showInternationalSet();
        return;
    case 16:
        return showReversed();
    case 17:
        writeMode_ = MirrorMode::Overwrite;
        send("\x1F\x01");
        return;
    case 18:
        return startVerticalScroll();
    case 19:
        send(PortJob().write("\x0C").write("\x1F\x03"), [this] { writeMode_ = MirrorMode::Horizontal; });
        return;
    case 28:
        return setClock();
    case 30:
        // END TEST: cursor off, port closed, program ended, even when the write failed.
        runJob(PortJob().write(QByteArray("\x1F\x43\x00", 3)).close(),
               [this](const JobResult&) { navigator_.endProgram(); });
        return;
    default:
        // The remaining buttons name commands for which the display has no bytes defined here.
        return;
    }
}

// Cursor to a row and column: the row must be 1 or 2 exactly, the column above 0 and at most 20.
void EscPosDemoWindow::moveCursor()
{
    const QString row =
        ask(QStringLiteral("PLS CHOSE THE ROW THAT YOU WANT TO DISPLAY(1 OR 2 ONLY)"), QStringLiteral("1"));
    const double rowValue = readReplyNumber(row);
    if (rowValue != 1 && rowValue != 2) {
        return;
    }
    const QString column = ask(QStringLiteral("PLS CHOSE THE COLUMN THAT YOU WANT TO DISPLAY(1 TO 20 ONLY)"),
                               QStringLiteral("1"));
    const std::optional<int> columnByte = replyInRange(column, 0, true, 20);
    if (!columnByte) {
        return;
    }
    send(QByteArray("\x1F\x24", 2) + chr(*columnByte) + chr(static_cast<int>(rowValue)));
}

void EscPosDemoWindow::setBrightness()
{
    const QString reply =
        ask(QStringLiteral("PLS INPUT NUMBER(1 TO 4) FOR ADJUST BRIGHTNESS"), QStringLiteral("1"));
    if (const std::optional<int> n = replyInRange(reply, 1, false, 4)) {
        send(QByteArray("\x1F\x58", 2) + chr(*n));
    }
}

void EscPosDemoWindow::setBlinking()
{
    const QString reply =
        ask(QStringLiteral("PLS INPUT NUMBER(0 TO 255) FOR BLINK DISPLAY"), QStringLiteral("0"));
    if (const std::optional<int> n = replyInRange(reply, 0, false, 255)) {
        send(QByteArray("\x1F\x45", 2) + chr(*n));
    }
}

// Reverse characters: the reply is shown reversed for five seconds, then reverse is cancelled.
void EscPosDemoWindow::showReversed()
{
    send("\x0C", [this] {
        const QString reply =
            ask(QStringLiteral("PLS INPUT CHARACTER FOR TEST OF REVERSE CHARACTER"), QStringLiteral("14IJ"));
        QByteArray text;
        if (!port_.encode(reply, text)) {
            return;
        }
        send(PortJob().write("\x1F\x72\x01").write(text).pause(5000).write(QByteArray("\x1F\x72\x00", 3)));
    });
}

// Vertical scroll: the display, cleared, receives old row 2 from home; the mirror moves it up.
void EscPosDemoWindow::startVerticalScroll()
{
    writeMode_ = MirrorMode::Vertical;
    send(PortJob().write("\x1F\x02").write("\x0C"), [this] {
        const QStringList oldRow2 = mirror_.shiftRowUp();
        refreshMirror();
        PortJob job;
        for (const QString& character : oldRow2) {
            if (!character.isEmpty()) {
                job.text(character);
            }
        }
        send(std::move(job.write("\x1F\x43\x01")));
    });
}

void EscPosDemoWindow::setClock()
{
    send("\x0C", [this] {
        const QString hour = ask(QStringLiteral("PLS INPUT HOUR 0~23"), QStringLiteral("1"));
        const std::optional<int> hourByte = replyInRange(hour, -1, true, 23);
        // A reply just above -1 still rounds to -1, for which the display has no hour.
        if (!hourByte || *hourByte < 0) {
            return;
        }
        const QString minute = ask(QStringLiteral("PLS INPUT MINIS 0~59"), QStringLiteral("1"));
        const std::optional<int> minuteByte = replyInRange(minute, -1, true, 59);
        if (!minuteByte || *minuteByte < 0) {
            return;
        }
        send(QByteArray("\x1F\x54", 2) + chr(*hourByte) + chr(*minuteByte));
    });
}
