#include "kd426.h"

#include "demo_clock.h"
#include "demo_context.h"
#include "demo_dialogs.h"
#include "maker_lines.h"
#include "navigator.h"
#include "port_form.h"
#include "wrapping_button.h"

#include <QGridLayout>

namespace {

const QByteArray AddressDisplay("\x1B\x3D\x32");
const QByteArray AddressPrinter("\x1B\x3D\x31\x0D");
const QByteArray ClearDisplay("\x1F\x0D");
const QByteArray Cr("\x0D");
const QString CompanyLine = QStringLiteral("TALVEX SYSTEM.,LTD");

QByteArray LineCommand(char letter)
{
    return QByteArray("\x1B\x71") + letter;
}

struct Kd426Button
{
    int number;
    const char* caption;
    int row;
    int column;
};

// Display lines and double lines on the left, horizontal lines in the middle, the rest on the right.
const QList<Kd426Button> Buttons = {
    {1, "DISPLAY LINE 1", 0, 0},
    {2, "DISPLAY LINE 2", 1, 0},
    {3, "DISPLAY LINE 3", 2, 0},
    {4, "DISPLAY LINE 4", 3, 0},
    {5, "CLEAR DISPLAY", 4, 0},
    {6, "DOUBLE LINE 1", 5, 0},
    {7, "DOUBLE LINE 2", 6, 0},
    {9, "HORIZONTAL LINE1", 0, 1},
    {10, "HORIZONTAL LINE 2", 1, 1},
    {11, "HORIZONTAL LINE 3", 2, 1},
    {12, "HORIZONTAL LINE 4", 3, 1},
    {13, "HORIZONTAL LINE1 OF DOUBLE", 4, 1},
    {14, "HORIZONTAL LINE1 OF DOUBLE", 5, 1},
    {15, "MODIFY INITIAL DISPLAY", 0, 2},
    {16, "SHOW TIME SMALL", 1, 2},
    {17, "SHOW TIME DOUBLE", 2, 2},
    {8, "To printer", 4, 2},
};

} // namespace

KD426::KD426(Navigator& navigator) : DemoWindow(QString::fromUtf8("KD426-繁體")), navigator_(navigator)
{
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(20, 20, 20, 20);
    grid->setHorizontalSpacing(14);
    grid->setVerticalSpacing(8);
    for (const Kd426Button& entry : Buttons) {
        auto* button = new WrappingButton(QString::fromLatin1(entry.caption));
        button->setObjectName(QStringLiteral("Command%1").arg(entry.number));
        grid->addWidget(button, entry.row, entry.column);
        connect(button, &QPushButton::clicked, this, [this, number = entry.number] { press(number); });
    }
}

void KD426::press(int number)
{
    port_form& port = navigator_.portForm();
    if (!port.port_open()) {
        return;
    }
    run(number, port);
    // Closed on every path, so the port is free between presses and after a failure.
    port.port_close();
}

bool KD426::promptLine(port_form& port, const QByteArray& command, const QString& defaultReply)
{
    const QString reply = navigator_.context()
                              .dialogs->askText(this, QString(), DemoProgramTitle(), defaultReply)
                              .value_or(QString());
    QByteArray text;
    return port.session().encode(reply, text) && port.session().send(command + text + Cr);
}

bool KD426::timeLine(port_form& port, char letter)
{
    const QString time = navigator_.context().clock->currentTime().toString(QStringLiteral("HH:mm:ss"));
    return port.session().send(AddressDisplay) &&
           port.session().send(LineCommand(letter) + time.toLatin1() + Cr);
}

bool KD426::toPrinter(port_form& port)
{
    PortSession& session = port.session();
    return session.send(AddressPrinter) && session.send("\x1B\x21\x11") &&
           session.sendText(QStringLiteral("WELCOME TO TALVEX SYSTEM.,LTD")) &&
           session.send("\x1B\x64\x01") && session.send("\x1B\x21\x21") &&
           session.sendText(MakerTelephoneLine()) && session.sendText(MakerFaxLine()) &&
           session.send("\x1B\x21\x11") && session.send("\x1B\x64\x05");
}

bool KD426::run(int number, port_form& port)
{
    PortSession& session = port.session();
    switch (number) {
    case 1:
        return session.send(AddressDisplay) && promptLine(port, LineCommand('A'), CompanyLine);
    case 2:
    case 3:
    case 4:
        return session.send(AddressDisplay) &&
               promptLine(port, LineCommand(static_cast<char>('A' + number - 1)), QStringLiteral("1"));
    case 5:
        return session.send(AddressDisplay) && session.send(ClearDisplay);
    case 6:
        return session.send(AddressDisplay) && session.send(ClearDisplay) &&
               promptLine(port, LineCommand('E'), QStringLiteral(" TALVEX SYSTEM.,LTD "));
    case 7:
        return session.send(AddressDisplay) && session.send(ClearDisplay) &&
               promptLine(port, LineCommand('F') + '\x0E', QStringLiteral("     KD-426"));
    case 8:
        return toPrinter(port);
    case 9:
    case 10:
    case 11:
    case 12:
    case 13:
    case 14:
        return session.send(AddressDisplay) &&
               promptLine(port, LineCommand(static_cast<char>('G' + number - 9)), CompanyLine);
    case 15: {
        const QString initial = QStringLiteral("     TALVEX SYSTEM.,LTD");
        return session.send(AddressDisplay) && session.send(ClearDisplay) &&
               promptLine(port, LineCommand('E'), initial) && promptLine(port, LineCommand('F'), initial) &&
               session.send("\x1B\x73");
    }
    case 16:
        return timeLine(port, 't');
    case 17:
        return timeLine(port, 'T');
    default:
        return false;
    }
}
