#include "setup/gui/simulated_display_window.h"

#include "setup/sim/display_code_page.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QSignalBlocker>
#include <QStyle>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>

namespace {

constexpr int kScreenLines = 2;
constexpr int kScreenColumns = 20;

QLabel* valueLabel(const char* name)
{
    auto* label = new QLabel;
    label->setObjectName(QLatin1String(name));
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

} // namespace

VfdScreenStyle vq71xxScreenStyle()
{
    VfdScreenStyle style;
    // Six pixels a dot at the preferred size, three at the smallest, as large as the window allows.
    style.dotPitch = 6;
    style.scalable = true;
    style.characterGap = 1;
    style.lineGap = 2;
    style.cursorRow = false;
    style.margin = 2;
    // Rounded squares; the dark rim between them is what makes the matrix visible.
    style.dotSize = 0.78;
    style.dotRoundness = 0.2 / 0.39;
    style.glassTop = QColor(10, 22, 22);
    style.glassBottom = QColor(3, 8, 9);
    style.unlitDot = QColor(16, 38, 35);
    style.litDot = QColor(80, 255, 210);
    // Brightness sets the filament drive: at 25, 50, 75 and 100 % a lit dot gives 0.45 + 0.55 x
    // that percentage of its full light (0.59, 0.73, 0.86, 1; below as the share of the way from
    // the unlit dot's colour), and its glow (0.35 x the percentage, of that light) spreads a little
    // onto the glass around it; the unlit dots stay as the glass shows them.
    style.light = {0.515, 0.677, 0.838, 1.0};
    style.glow = {0.35 * 0.25 * 0.5875, 0.35 * 0.5 * 0.725, 0.35 * 0.75 * 0.8625, 0.35};
    style.glowRadius = 0.78;
    style.glowOverDots = false;
    return style;
}

VfdFrame vq71xxScreenFrame(const QByteArray& bytes, const DisplayCodePage& codePage, int brightnessPercent,
                           bool lit)
{
    VfdGrid grid(kScreenLines, kScreenColumns);
    for (int cell = 0; cell < kScreenLines * kScreenColumns; ++cell) {
        const QChar character =
            cell < bytes.size() ? codePage.character(static_cast<quint8>(bytes.at(cell))) : QChar(u' ');
        grid.at(cell / kScreenColumns, cell % kScreenColumns).character =
            character.isNull() ? U' ' : char32_t(character.unicode());
    }
    VfdFrame frame(grid);
    frame.brightness = std::clamp((brightnessPercent + 12) / 25, 1, 4);
    frame.lit = lit;
    return frame;
}

SimulatedDisplayWindow::SimulatedDisplayWindow(SimulatedDisplay& display, QWidget* parent,
                                               const SimulatedFlashFile* flashFile)
    : QWidget(parent, Qt::Window), display_(display), flashFile_(flashFile)
{
    setObjectName(QStringLiteral("SimulatedDisplayWindow"));
    setWindowTitle(QStringLiteral("Simulated VQ71xx display"));

    screen_ = new VfdScreenView;
    screen_->setObjectName(QStringLiteral("vfdScreen"));
    screen_->setScreenStyle(vq71xxScreenStyle());
    codePageNote_ = valueLabel("lblCodePageNote");
    QLayout* state = stateLine();
    auto* lower = new QHBoxLayout;
    lower->addWidget(flashBox(), 1);
    lower->addWidget(faultBox());
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(screen_);
    layout->addWidget(codePageNote_);
    layout->addLayout(state);
    layout->addLayout(lower, 1);
    connectSwitches();

    // Often enough to see every 200 ms acknowledgement pulse on the lamp.
    poll_ = new QTimer(this);
    poll_->setInterval(10);
    connect(poll_, &QTimer::timeout, this, &SimulatedDisplayWindow::refresh);
    poll_->start();
    refresh();
}

QLayout* SimulatedDisplayWindow::stateLine()
{
    dsrLamp_ = new QLabel;
    dsrLamp_->setObjectName(QStringLiteral("dsrLamp"));
    dsrLamp_->setFixedSize(18, 18);
    dsrText_ = valueLabel("lblDsr");
    acknowledgements_ = valueLabel("lblAcknowledgements");
    state_ = valueLabel("lblState");
    auto* line = new QHBoxLayout;
    line->addWidget(dsrLamp_);
    line->addWidget(dsrText_);
    line->addSpacing(16);
    line->addWidget(acknowledgements_);
    line->addSpacing(16);
    line->addWidget(state_, 1);
    return line;
}

QWidget* SimulatedDisplayWindow::flashBox()
{
    auto* flash = new QGroupBox(QStringLiteral("Held in flash"));
    auto* form = new QFormLayout(flash);
    form->setFieldGrowthPolicy(QFormLayout::ExpandingFieldsGrow);
    form->addRow(QStringLiteral("General parameters:"), general_ = valueLabel("lblGeneral"));
    form->addRow(QStringLiteral("Baud rate:"), baudRate_ = valueLabel("lblBaudRate"));
    form->addRow(QStringLiteral("Data format:"), dataFormat_ = valueLabel("lblDataFormat"));
    form->addRow(QStringLiteral("Command set:"), commandSet_ = valueLabel("lblCommandSet"));
    form->addRow(QStringLiteral("Code page:"), codePageName_ = valueLabel("lblCodePage"));
    form->addRow(QStringLiteral("International set:"), charset_ = valueLabel("lblCharset"));
    form->addRow(QStringLiteral("Brightness:"), brightness_ = valueLabel("lblBrightness"));
    form->addRow(QStringLiteral("Title page:"), titlePage_ = valueLabel("lblTitlePage"));
    form->addRow(QStringLiteral("DEMO:"), demo_ = valueLabel("lblDemo"));
    form->addRow(QStringLiteral("Firmware:"), firmware_ = valueLabel("lblFirmware"));
    form->addRow(QStringLiteral("Balance:"), balance_ = valueLabel("lblBalance"));
    return flash;
}

QWidget* SimulatedDisplayWindow::faultBox()
{
    auto* faults = new QGroupBox(QStringLiteral("Faults"));
    auto* faultColumn = new QVBoxLayout(faults);
    unplugged_ = new QCheckBox(QStringLiteral("Unplugged"));
    unplugged_->setObjectName(QStringLiteral("chkUnplugged"));
    noAcknowledge_ = new QCheckBox(QStringLiteral("Does not acknowledge"));
    noAcknowledge_->setObjectName(QStringLiteral("chkNoAcknowledge"));
    dsrLate_ = new QCheckBox(QStringLiteral("DSR late (1.5 s)"));
    dsrLate_->setObjectName(QStringLiteral("chkDsrLate"));
    faultColumn->addWidget(unplugged_);
    faultColumn->addWidget(noAcknowledge_);
    faultColumn->addWidget(dsrLate_);
    faultColumn->addStretch(1);
    powerCycle_ = new QPushButton(QStringLiteral("Power cycle"));
    powerCycle_->setObjectName(QStringLiteral("cmdPowerCycle"));
    powerCycle_->setToolTip(QStringLiteral("Switch the display off and on: it keeps what it holds in flash"));
    factoryReset_ = new QPushButton(QStringLiteral("Factory reset"));
    factoryReset_->setObjectName(QStringLiteral("cmdFactoryReset"));
    factoryReset_->setAccessibleName(QStringLiteral("Factory reset"));
    factoryReset_->setToolTip(
        QStringLiteral("Erase what the display holds in flash and restart it as it left "
                       "the factory"));
    factoryReset_->setAccessibleDescription(factoryReset_->toolTip());
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(powerCycle_);
    buttons->addWidget(factoryReset_);
    faultColumn->addLayout(buttons);
    return faults;
}

void SimulatedDisplayWindow::connectSwitches()
{
    connect(powerCycle_, &QPushButton::clicked, this, [this] {
        display_.powerCycle();
        refresh();
    });
    connect(factoryReset_, &QPushButton::clicked, this, [this] {
        display_.setFlash({});
        display_.powerCycle();
        refresh();
    });
    connect(unplugged_, &QCheckBox::toggled, this, &SimulatedDisplayWindow::unplugToggled);
    connect(noAcknowledge_, &QCheckBox::toggled, this, [this](bool on) {
        changeFaults([on](SimulatedDisplay::Faults& f) { f.acknowledgeFirst = on ? 0 : -1; });
    });
    connect(dsrLate_, &QCheckBox::toggled, this, [this](bool on) {
        changeFaults([on](SimulatedDisplay::Faults& f) { f.dsrDelay = on ? kLateDsrSeconds : 0.0; });
    });
}

void SimulatedDisplayWindow::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    fitScreen();
}

// A window that would cross an edge of the available screen (past the right edge of a 1280-pixel
// screen, where it opens beside the main window) is made narrower down to what it needs, then, if
// that is not enough, put below the window it belongs to when there is room, else moved in from the
// edge; its height is fitted the same way. A place that fits, such as where the person put it, is kept.
void SimulatedDisplayWindow::fitScreen()
{
    QScreen* shownOn = QGuiApplication::screenAt(pos());
    const QRect available = (shownOn != nullptr ? shownOn : QWidget::screen())->availableGeometry();
    // Until the window manager has framed the window its frame is unknown: a title bar is counted.
    QMargins frame(geometry().left() - frameGeometry().left(), geometry().top() - frameGeometry().top(),
                   frameGeometry().right() - geometry().right(),
                   frameGeometry().bottom() - geometry().bottom());
    if (frame.isNull())
        frame.setTop(style()->pixelMetric(QStyle::PM_TitleBarHeight));
    const QRect room = available - frame;
    QRect placed(pos() + QPoint(frame.left(), frame.top()), size());
    if (room.contains(placed))
        return;
    const QSize least = minimumSizeHint().expandedTo(minimumSize());
    placed.setWidth(std::max(least.width(), std::min(placed.width(), room.right() + 1 - placed.left())));
    const QWidget* owner = parentWidget();
    if (placed.right() > room.right() && owner != nullptr &&
        room.bottom() - owner->frameGeometry().bottom() - frame.top() >= least.height()) {
        placed.moveTopLeft(QPoint(owner->frameGeometry().left() + frame.left(),
                                  owner->frameGeometry().bottom() + 1 + frame.top()));
        placed.setWidth(std::min(sizeHint().width(), room.width()));
    }
    placed.setHeight(std::max(least.height(), std::min(placed.height(), room.bottom() + 1 - placed.top())));
    placed.moveLeft(
        std::clamp(placed.left(), room.left(), std::max(room.left(), room.right() + 1 - placed.width())));
    placed.moveTop(
        std::clamp(placed.top(), room.top(), std::max(room.top(), room.bottom() + 1 - placed.height())));
    resize(placed.size());
    move(placed.topLeft() - QPoint(frame.left(), frame.top()));
}

void SimulatedDisplayWindow::changeFaults(const std::function<void(SimulatedDisplay::Faults&)>& change)
{
    SimulatedDisplay::Faults faults = display_.faults();
    change(faults);
    display_.setFaults(faults);
    refresh();
}

void SimulatedDisplayWindow::unplugToggled(bool unplugged)
{
    changeFaults([unplugged](SimulatedDisplay::Faults& f) { f.absent = unplugged; });
    // The display takes its power from the cable: plugged in again, it starts afresh.
    if (!unplugged) {
        display_.powerCycle();
        refresh();
    }
}

void SimulatedDisplayWindow::refresh()
{
    const SimulatedDisplay::Faults faults = display_.faults();
    const bool restarting = display_.restarting();
    const QStringList lines = display_.screen();
    const DisplayFlash flash = display_.flash();
    const int liveBalance = display_.liveBalance();

    // Building a code page runs its decoder over 128 bytes: only when the stored code changes.
    if (codePage_.code() != storedCodePage(flash))
        codePage_ = DisplayCodePage(storedCodePage(flash));
    const DisplayCodePage& codePage = codePage_;
    screenContent_ = (lines.value(0) + lines.value(1)).toLatin1().left(kScreenLines * kScreenColumns);
    screenContent_.append(QByteArray(kScreenLines * kScreenColumns - screenContent_.size(), ' '));
    // Unplugged it has no power; restarting, its tube is dark until it shows its power-on lines.
    screen_->setFrame(vq71xxScreenFrame(screenContent_, codePage, storedBrightnessPercent(flash),
                                        !faults.absent && !restarting));
    codePageNote_->setText(codePage.note());
    codePageNote_->setVisible(!codePage.note().isEmpty());

    showLamp(display_.dsrLine());
    acknowledgements_->setText(QStringLiteral("Acknowledgements: %1").arg(display_.acknowledgements()));
    if (faults.absent)
        state_->setText(QStringLiteral("Unplugged"));
    else if (restarting)
        state_->setText(QStringLiteral("Restarting..."));
    else
        state_->setText(QStringLiteral("Listening at %1").arg(display_.listeningSettings().toText()));

    {
        const QSignalBlocker a(unplugged_), b(noAcknowledge_), c(dsrLate_);
        unplugged_->setChecked(faults.absent);
        noAcknowledge_->setChecked(faults.acknowledgeFirst == 0);
        dsrLate_->setChecked(faults.dsrDelay > 0);
    }

    if (flash != shownFlash_ || liveBalance != shownLiveBalance_ || general_->text().isEmpty()) {
        shownFlash_ = flash;
        shownLiveBalance_ = liveBalance;
        showFlash(describeDisplayFlash(flash, liveBalance));
        keepFlash();
    }
}

void SimulatedDisplayWindow::keepFlash()
{
    if (!flashFile_)
        return;
    if (const QString error = flashFile_->keep(display_); !error.isEmpty())
        qWarning("vfdsetup: the flash of the simulated display is not kept: %s", qPrintable(error));
}

void SimulatedDisplayWindow::showLamp(bool high)
{
    if (lampState_ == int(high))
        return;
    lampState_ = int(high);
    dsrLamp_->setProperty("lit", high);
    dsrLamp_->setStyleSheet(high ? QStringLiteral("background: #3be07a; border: 1px solid #1d6b3b; "
                                                  "border-radius: 9px;")
                                 : QStringLiteral("background: #26302a; border: 1px solid #101512; "
                                                  "border-radius: 9px;"));
    dsrText_->setText(high ? QStringLiteral("DSR high") : QStringLiteral("DSR low"));
}

void SimulatedDisplayWindow::showFlash(const DisplayFlashView& view)
{
    general_->setText(view.general);
    baudRate_->setText(view.baudRate);
    dataFormat_->setText(view.dataFormat);
    commandSet_->setText(view.commandSet);
    codePageName_->setText(view.codePage);
    charset_->setText(view.internationalCharset);
    brightness_->setText(view.brightness);
    titlePage_->setText(view.titlePage);
    demo_->setText(view.demo);
    firmware_->setText(view.firmware);
    balance_->setText(view.balance);
}
