#include "windows/four_line_demo_window.h"

#include "link/demo_context.h"
#include "link/port_session.h"
#include "model/maker_lines.h"
#include "model/pacer_time.h"
#include "windows/window_chain.h"
#include "windows/wrapping_button.h"

#include "core/dialogs.h"

#include <QGridLayout>
#include <QPointer>

namespace {

const QByteArray AddressDisplay("\x1B\x3D\x32");
const QByteArray AddressPrinter("\x1B\x3D\x31\x0D");
const QByteArray ClearDisplay("\x1F\x0D");
const QByteArray Cr("\x0D");
const QString CompanyLine = QStringLiteral("TALVEX SYSTEM.,LTD");

QByteArray lineCommand(char letter)
{
    return QByteArray("\x1B\x71") + letter;
}

FourLineDemoWindow::Step bytes(const QByteArray& bytes)
{
    FourLineDemoWindow::Step step;
    step.bytes = bytes;
    return step;
}

FourLineDemoWindow::Step text(const QString& text)
{
    FourLineDemoWindow::Step step;
    step.text = text;
    return step;
}

FourLineDemoWindow::Step Prompt(const QByteArray& command, const QString& defaultReply)
{
    FourLineDemoWindow::Step step;
    step.bytes = command;
    step.prompted = true;
    step.defaultReply = defaultReply;
    return step;
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

FourLineDemoWindow::FourLineDemoWindow(WindowChain& navigator)
    : DemoWindow(QString::fromUtf8("KD426-繁體")), navigator_(navigator)
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

void FourLineDemoWindow::press(int number)
{
    const QList<Step> todo = steps(number);
    if (todo.isEmpty()) {
        return;
    }
    std::optional<PortJob> job = navigator_.sharedPort().openChosen();
    if (!job) {
        return;
    }
    proceed(std::move(*job), todo, 0);
}

void FourLineDemoWindow::proceed(PortJob job, const QList<Step>& steps, int next)
{
    PortSession& port = navigator_.sharedPort();
    for (; next < steps.size(); ++next) {
        const Step& step = steps[next];
        if (!step.prompted) {
            job.write(step.bytes).text(step.text);
            continue;
        }
        if (!job.isEmpty() || job.refusedText()) {
            // The person is asked only once what came before has gone out.
            const QPointer<FourLineDemoWindow> window = this;
            port.run(std::move(job), [window, steps, next](const JobResult& result) {
                if (window == nullptr) {
                    return;
                }
                if (result.sent()) {
                    window->proceed(PortJob(), steps, next);
                } else {
                    window->navigator_.sharedPort().close();
                }
            });
            return;
        }
        const QString reply =
            navigator_.context().dialogs->input(demoProgramTitle(), QString(), step.defaultReply);
        QByteArray text;
        if (!port.encode(reply, text)) {
            port.close();
            return;
        }
        job.write(step.bytes + text + Cr);
    }
    // Closed on every path, so the port is free between presses and after a failure.
    port.run(std::move(job.close()));
}

QList<FourLineDemoWindow::Step> FourLineDemoWindow::timeLine(char letter) const
{
    const QString time = pacerTimeOfDay(*navigator_.context().pacer).toString(QStringLiteral("HH:mm:ss"));
    return {bytes(AddressDisplay), bytes(lineCommand(letter) + time.toLatin1() + Cr)};
}

QList<FourLineDemoWindow::Step> FourLineDemoWindow::toPrinter() const
{
    return {
        bytes(AddressPrinter), bytes("\x1B\x21\x11"), text(QStringLiteral("WELCOME TO TALVEX SYSTEM.,LTD")),
        bytes("\x1B\x64\x01"), bytes("\x1B\x21\x21"), text(makerTelephoneLine()),
        text(makerFaxLine()),  bytes("\x1B\x21\x11"), bytes("\x1B\x64\x05")};
}

QList<FourLineDemoWindow::Step> FourLineDemoWindow::steps(int number) const
{
    switch (number) {
    case 1:
        return {bytes(AddressDisplay), Prompt(lineCommand('A'), CompanyLine)};
    case 2:
    case 3:
    case 4:
        return {bytes(AddressDisplay),
                Prompt(lineCommand(static_cast<char>('A' + number - 1)), QStringLiteral("1"))};
    case 5:
        return {bytes(AddressDisplay), bytes(ClearDisplay)};
    case 6:
        return {bytes(AddressDisplay), bytes(ClearDisplay),
                Prompt(lineCommand('E'), QStringLiteral(" TALVEX SYSTEM.,LTD "))};
    case 7:
        return {bytes(AddressDisplay), bytes(ClearDisplay),
                Prompt(lineCommand('F') + '\x0E', QStringLiteral("     KD-426"))};
    case 8:
        return toPrinter();
    case 9:
    case 10:
    case 11:
    case 12:
    case 13:
    case 14:
        return {bytes(AddressDisplay), Prompt(lineCommand(static_cast<char>('G' + number - 9)), CompanyLine)};
    case 15: {
        const QString initial = QStringLiteral("     TALVEX SYSTEM.,LTD");
        return {bytes(AddressDisplay), bytes(ClearDisplay), Prompt(lineCommand('E'), initial),
                Prompt(lineCommand('F'), initial), bytes("\x1B\x73")};
    }
    case 16:
        return timeLine('t');
    case 17:
        return timeLine('T');
    default:
        return {};
    }
}
