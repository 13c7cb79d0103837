#include "demo/emulator_views/emulator_window.h"

#include "demo/emulator_views/receipt_strip_view.h"
#include "demo/emulators/customer_display_emulator.h"
#include "widgets/vfd_screen_view.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>

EmulatorWindow::EmulatorWindow(CustomerDisplayEmulator& emulator) : emulator_(emulator)
{
    setWindowTitle(QStringLiteral("Simulated display"));
    setObjectName(QStringLiteral("SimulatedDisplay"));
    // The demonstrations decide when the program ends; this window only watches.
    setAttribute(Qt::WA_QuitOnClose, false);
    setAttribute(Qt::WA_ShowWithoutActivating);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(12, 10, 12, 10);
    auto* heading = new QHBoxLayout;
    model_ = new QLabel;
    model_->setObjectName(QStringLiteral("Model"));
    QFont bold = model_->font();
    bold.setBold(true);
    model_->setFont(bold);
    heading->addWidget(model_, 1);
    auto* power = new QPushButton(QStringLiteral("Power off and on"));
    power->setObjectName(QStringLiteral("PowerCycle"));
    heading->addWidget(power);
    layout->addLayout(heading);

    auto* devices = new QHBoxLayout;
    screen_ = new VfdScreenView;
    devices->addWidget(screen_, 0, Qt::AlignTop);
    receipt_ = new ReceiptStripView(emulator_.kd426().receipt());
    devices->addWidget(receipt_);
    layout->addLayout(devices, 1);

    layout->addWidget(new QLabel(QStringLiteral("Not understood:")));
    log_ = new QPlainTextEdit;
    log_->setObjectName(QStringLiteral("Log"));
    log_->setReadOnly(true);
    log_->setMaximumBlockCount(100);
    log_->setFixedHeight(72);
    QFont mono(QStringLiteral("DejaVu Sans Mono"));
    mono.setStyleHint(QFont::Monospace);
    mono.setPointSize(8);
    log_->setFont(mono);
    layout->addWidget(log_);

    connect(power, &QPushButton::clicked, &emulator_, &CustomerDisplayEmulator::powerCycle);
    connect(&emulator_, &CustomerDisplayEmulator::lineConnected, this, &EmulatorWindow::showModel);
    connect(&emulator_, &CustomerDisplayEmulator::changed, this, [this] {
        refreshLog();
        receipt_->update();
    });
    showModel(emulator_.model());
}

void EmulatorWindow::showModel(DisplayProduct model)
{
    auto source = [this] { return emulator_.frame(); };
    switch (model) {
    case DisplayProduct::KD317:
        model_->setText(QStringLiteral("KD-317  ESC/POS customer display, 2 x 20"));
        screen_->setFrameSource(source, Kd317Display::kRows, Kd317Display::kColumns);
        break;
    case DisplayProduct::KD426:
        model_->setText(QStringLiteral("KD-426  four-line display with printer"));
        screen_->setFrameSource(source, Kd426Display::kRows, Kd426Display::kColumns);
        break;
    case DisplayProduct::KD138:
        model_->setText(QStringLiteral("KD-138  one-line display"));
        screen_->setFrameSource(source, 1, Kd138Display::kColumns);
        break;
    }
    receipt_->setVisible(model == DisplayProduct::KD426);
    adjustSize();
}

void EmulatorWindow::refreshLog()
{
    const QStringList& entries = emulator_.log().entries();
    const QString text = entries.join(QLatin1Char('\n'));
    if (log_->toPlainText() != text) {
        log_->setPlainText(text);
        log_->verticalScrollBar()->setValue(log_->verticalScrollBar()->maximum());
    }
}

void EmulatorWindow::showBeside(QWidget* neighbour)
{
    if (!placed_ && neighbour != nullptr) {
        const QRect frame = neighbour->frameGeometry();
        move(frame.right() + 12, frame.top());
        placed_ = true;
    }
    if (!isVisible()) {
        show();
    }
}
