#include "demo/model/escpos_commands.h"

#include "demo/model/byte_text.h"

namespace EscPos {

const QList<Button>& commandList()
{
    static const QList<Button> kButtons = {
        {"Move cursou right", Action::Write, "\x09"},
        {"Move cursor left", Action::Write, "\x08"},
        {"Move cursor up", Action::Write, "\x1F\x0A"},
        {"Move cursor down", Action::Write, "\x0A"},
        {"Move cursor to right-most position", Action::Write, "\x1F\x0D"},
        {"Move cursor to left-most position", Action::Write, "\x0D"},
        {"Move cursor to home position", Action::Write, "\x0B"},
        {"Move cursor to bottom position", Action::Write, "\x1F\x42"},
        {"Move cursor to specified position", Action::CursorPosition, {}},
        {"Clear display screen", Action::Write, "\x0C"},
        {"Brightness adjustment", Action::Brightness, {}},
        {"Blink display screen", Action::Blinking, {}},
        {"Initialize display", Action::Initialize, {}},
        {"Select character code table", Action::CodeTable, {}},
        {"select international character set", Action::InternationalSet, {}},
        {"Select/cancel reverse character", Action::ReverseCharacters, {}},
        {"Specify overwrite mode", Action::OverwriteMode, {}},
        {"Specify vertical scroll mode", Action::VerticalScrollMode, {}},
        {"Specify horizontal scroll mode", Action::HorizontalScrollMode, {}},
        {"Define download characters", Action::NoBytes, {}},
        {"Delete download characters", Action::NoBytes, {}},
        {"Select/cancel download character set", Action::NoBytes, {}},
        {"Specify/cancel the windows range", Action::NoBytes, {}},
        {"Select  peripheral device(chang to printer)", Action::NoBytes, {}},
        {"Set starting/ending position of macro definition", Action::NoBytes, {}},
        {"Execute and guit macro", Action::NoBytes, {}},
        {"Execute self-test", Action::Write, "\x1F\x40"},
        {"Display time", Action::TimeOfDay, {}},
        {"Display time continuously", Action::NoBytes, {}},
        {"END TEST", Action::EndTest, {}},
    };
    return kButtons;
}

QByteArray cursorPosition(int column, int row)
{
    return QByteArray("\x1F\x24") + chr(column) + chr(row);
}

QByteArray brightness(int level)
{
    return QByteArray("\x1F\x58") + chr(level);
}

QByteArray blinking(int interval)
{
    return QByteArray("\x1F\x45") + chr(interval);
}

QByteArray timeOfDay(int hour, int minute)
{
    return QByteArray("\x1F\x54") + chr(hour) + chr(minute);
}

QByteArray selectCodeTable(int table)
{
    return QByteArray("\x1B\x74") + chr(table);
}

QList<QByteArray> codeTableGroup(int group)
{
    QList<QByteArray> writes;
    for (int code = 128 + 32 * group; code < 160 + 32 * group; ++code)
        writes.append(QByteArray(1, '\0') + chr(code));
    return writes;
}

QList<QByteArray> showInternationalSet(int set, const QString& name)
{
    return {kClearScreen, QByteArray("\x1B\x52") + chr(set), QByteArray("\x1F\x24\x05\x01") + name.toLatin1(),
            QByteArray("\x1F\x24\x05\x02"), QByteArray("#$@[\\]^`{|}~")};
}

} // namespace EscPos
