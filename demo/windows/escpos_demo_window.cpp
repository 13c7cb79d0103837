#include "demo/windows/escpos_demo_window.h"

#include "demo/link/demo_context.h"
#include "demo/model/escpos_commands.h"
#include "demo/model/reply_number.h"
#include "demo/windows/mirror_grid.h"
#include "demo/windows/wrapping_button.h"

#include "core/dialogs.h"

#include <QGridLayout>
#include <QVBoxLayout>

namespace {

// The buttons stand in four columns: 1 to 8, 9 to 16, 17 to 24, 25 to 30.
constexpr int kColumnHeight = 8;

} // namespace

EscPosDemoWindow::EscPosDemoWindow(DemoContext& context)
    : DemoWindow(QStringLiteral("ESC/poc command list")), context_(context), port_(context)
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 16, 16, 16);
    layout->setSpacing(14);
    grid_ = new MirrorGrid;
    auto* mirrorRow = new QHBoxLayout;
    mirrorRow->addStretch();
    mirrorRow->addWidget(grid_);
    mirrorRow->addStretch();
    layout->addLayout(mirrorRow);
    QWidget* commands = commandButtons();
    layout->addWidget(commands);
    // The mirror keeps taking keys while port work runs; they wait their turn.
    setHeldWhileBusy(commands);
    connect(grid_, &MirrorGrid::cellClicked, this, [this] { takeMirrorInput([this] { sendCursorHome(); }); });
    connect(grid_, &MirrorGrid::keyTyped, this, [this](int index, const QString& text) {
        // A key that waits lands where the input before it leaves the focus.
        const bool waits = jobsRunning_ > 0 || !mirrorInput_.isEmpty();
        takeMirrorInput([this, index, text, waits] { typeKey(waits ? mirror_.focus() : index, text); });
    });
}

QWidget* EscPosDemoWindow::commandButtons()
{
    auto* area = new QWidget;
    auto* grid = new QGridLayout(area);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setHorizontalSpacing(10);
    grid->setVerticalSpacing(6);
    const QList<EscPos::Button>& buttons = EscPos::commandList();
    for (int i = 0; i < buttons.size(); ++i) {
        auto* button = new WrappingButton(QString::fromLatin1(buttons[i].caption));
        button->setObjectName(QStringLiteral("Command%1").arg(i + 1));
        grid->addWidget(button, i % kColumnHeight, i / kColumnHeight);
        connect(button, &QPushButton::clicked, this, [this, i] { commandClicked(i); });
    }
    grid->setRowStretch(kColumnHeight, 1);
    return area;
}

void EscPosDemoWindow::startUp(std::function<void(bool)> started)
{
    writeMode_ = MirrorMode::Overwrite;
    std::optional<PortJob> job = port_.openChosen();
    if (!job) {
        started(false);
        return;
    }
    job->write(EscPos::kClearScreen)
        .write(EscPos::kCursorOn)
        .text(EscPos::kGreetingRow1)
        .text(EscPos::kGreetingRow2);
    port_.run(std::move(*job), [this, started](const JobResult& result) {
        if (!result.sent()) {
            port_.close();
            started(false);
            return;
        }
        mirror_.show(EscPos::kGreetingRow1, EscPos::kGreetingRow2);
        refreshMirror();
        started(true);
    });
}

void EscPosDemoWindow::windowClosing()
{
    port_.close();
}

void EscPosDemoWindow::commandClicked(int index)
{
    const EscPos::Button& button = EscPos::commandList()[index];
    switch (button.action) {
    case EscPos::Action::Write:
        return send(button.bytes);
    case EscPos::Action::NoBytes:
        return;
    case EscPos::Action::CursorPosition:
        return moveCursor();
    case EscPos::Action::Brightness:
        return setBrightness();
    case EscPos::Action::Blinking:
        return setBlinking();
    case EscPos::Action::Initialize:
        return send(PortJob().write(EscPos::kInitialize).write(EscPos::kCursorOn));
    case EscPos::Action::CodeTable:
        return leaveFor(NextWindow::CodeTable);
    case EscPos::Action::InternationalSet:
        return leaveFor(NextWindow::InternationalSet);
    case EscPos::Action::ReverseCharacters:
        return showReversed();
    case EscPos::Action::OverwriteMode:
        writeMode_ = MirrorMode::Overwrite;
        return send(EscPos::kOverwriteMode);
    case EscPos::Action::VerticalScrollMode:
        return startVerticalScroll();
    case EscPos::Action::HorizontalScrollMode:
        return send(PortJob().write(EscPos::kClearScreen).write(EscPos::kHorizontalScrollMode),
                    [this] { writeMode_ = MirrorMode::Horizontal; });
    case EscPos::Action::TimeOfDay:
        return setClock();
    case EscPos::Action::EndTest:
        return endTest();
    }
}

void EscPosDemoWindow::runJob(PortJob job, WindowPort::Then then)
{
    ++jobsRunning_;
    port_.run(std::move(job), [this, then](const JobResult& result) {
        if (then)
            then(result);
        --jobsRunning_;
        handleMirrorInput();
    });
}

void EscPosDemoWindow::send(PortJob job, std::function<void()> then)
{
    runJob(std::move(job), [this, then](const JobResult& result) {
        if (result.portFailed())
            portLost();
        else if (result.sent() && then)
            then();
    });
}

void EscPosDemoWindow::send(const QByteArray& bytes, std::function<void()> then)
{
    send(PortJob().write(bytes), std::move(then));
}

// The port failed under a command (the person has been told): back to the port choice.
void EscPosDemoWindow::portLost()
{
    leaveFor(NextWindow::Kd317PortSelection);
}

void EscPosDemoWindow::leaveFor(NextWindow next)
{
    port_.close();
    emit handOver(next);
}

QString EscPosDemoWindow::ask(const QString& prompt, const QString& defaultReply)
{
    return context_.dialogs->input(demoProgramTitle(), prompt, defaultReply);
}

// Cursor to a row and column: the row must be 1 or 2 exactly, the column above 0 and at most 20.
void EscPosDemoWindow::moveCursor()
{
    const QString row =
        ask(QStringLiteral("PLS CHOSE THE ROW THAT YOU WANT TO DISPLAY(1 OR 2 ONLY)"), QStringLiteral("1"));
    const double rowValue = readReplyNumber(row);
    if (rowValue != 1 && rowValue != 2)
        return;
    const QString column = ask(QStringLiteral("PLS CHOSE THE COLUMN THAT YOU WANT TO DISPLAY(1 TO 20 ONLY)"),
                               QStringLiteral("1"));
    const std::optional<int> columnByte = replyInRange(column, 0, true, 20);
    if (!columnByte)
        return;
    send(EscPos::cursorPosition(*columnByte, static_cast<int>(rowValue)));
}

void EscPosDemoWindow::setBrightness()
{
    const QString reply =
        ask(QStringLiteral("PLS INPUT NUMBER(1 TO 4) FOR ADJUST BRIGHTNESS"), QStringLiteral("1"));
    if (const std::optional<int> n = replyInRange(reply, 1, false, 4))
        send(EscPos::brightness(*n));
}

void EscPosDemoWindow::setBlinking()
{
    const QString reply =
        ask(QStringLiteral("PLS INPUT NUMBER(0 TO 255) FOR BLINK DISPLAY"), QStringLiteral("0"));
    if (const std::optional<int> n = replyInRange(reply, 0, false, 255))
        send(EscPos::blinking(*n));
}

// Reverse characters: the reply is shown reversed for five seconds, then reverse is cancelled.
void EscPosDemoWindow::showReversed()
{
    send(EscPos::kClearScreen, [this] {
        const QString reply =
            ask(QStringLiteral("PLS INPUT CHARACTER FOR TEST OF REVERSE CHARACTER"), QStringLiteral("14IJ"));
        QByteArray text;
        if (!port_.encode(reply, text))
            return;
        send(PortJob()
                 .write(EscPos::kReverseOn)
                 .write(text)
                 .pause(EscPos::kReversePauseMs)
                 .write(EscPos::kReverseOff));
    });
}

// Vertical scroll: the display, cleared, receives old row 2 from home; the mirror moves it up.
void EscPosDemoWindow::startVerticalScroll()
{
    writeMode_ = MirrorMode::Vertical;
    send(PortJob().write(EscPos::kVerticalScrollMode).write(EscPos::kClearScreen), [this] {
        const QStringList oldRow2 = mirror_.shiftRowUp();
        refreshMirror();
        PortJob job;
        for (const QString& character : oldRow2) {
            if (!character.isEmpty())
                job.text(character);
        }
        send(std::move(job.write(EscPos::kCursorOn)));
    });
}

void EscPosDemoWindow::setClock()
{
    send(EscPos::kClearScreen, [this] {
        const QString hour = ask(QStringLiteral("PLS INPUT HOUR 0~23"), QStringLiteral("1"));
        const std::optional<int> hourByte = replyInRange(hour, -1, true, 23);
        // A reply just above -1 still rounds to -1, for which the display has no hour.
        if (!hourByte || *hourByte < 0)
            return;
        const QString minute = ask(QStringLiteral("PLS INPUT MINIS 0~59"), QStringLiteral("1"));
        const std::optional<int> minuteByte = replyInRange(minute, -1, true, 59);
        if (!minuteByte || *minuteByte < 0)
            return;
        send(EscPos::timeOfDay(*hourByte, *minuteByte));
    });
}

// END TEST: cursor off, port closed, program ended, even when the write failed.
void EscPosDemoWindow::endTest()
{
    runJob(PortJob().write(EscPos::kCursorOff).close(), [this](const JobResult&) { emit endRequested(); });
}

void EscPosDemoWindow::refreshMirror()
{
    grid_->showMirror(mirror_);
}

void EscPosDemoWindow::takeMirrorInput(std::function<void()> input)
{
    mirrorInput_.append(std::move(input));
    handleMirrorInput();
}

void EscPosDemoWindow::handleMirrorInput()
{
    if (handlingInput_)
        return;
    handlingInput_ = true;
    while (jobsRunning_ == 0 && !mirrorInput_.isEmpty()) {
        // Once the port has been let go (END TEST, a failure) the keys have nowhere to go.
        if (!port_.isOpen()) {
            mirrorInput_.clear();
            break;
        }
        mirrorInput_.takeFirst()();
    }
    handlingInput_ = false;
}

// A click anywhere on the mirror sends the cursor home and puts the focus on cell 1.
void EscPosDemoWindow::sendCursorHome()
{
    mirror_.setFocus(1);
    grid_->focusCell(1);
    send(EscPos::kCursorHome);
}

void EscPosDemoWindow::typeKey(int index, const QString& text)
{
    // A key with no byte in the display's page is ignored.
    const WireBytes byte = port_.encoding().encode(text);
    if (!byte || byte.bytes.size() != 1)
        return;
    const int k = static_cast<unsigned char>(byte.bytes.at(0));
    if (k == 13) {
        sendCursorHome();
        return;
    }
    // Control characters go to the display like any other code but draw nothing in the mirror.
    const QString shown = (k < 32 || k == 127) ? QString() : text;
    mirror_.setFocus(index);
    mirror_.typeCharacter(index, shown, writeMode_);
    refreshMirror();
    grid_->focusCell(mirror_.focus());
    send(byte.bytes);
}
