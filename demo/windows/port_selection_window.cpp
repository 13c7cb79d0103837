#include "demo/windows/port_selection_window.h"

#include "demo/link/demo_context.h"
#include "demo/windows/selection_buttons.h"

#include "core/port_name.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

// The option id of "Simulated display"; the COM options' ids are their port numbers, 1 and up.
constexpr int kSimulatedOption = 0;
constexpr int kOptionsPerColumn = 5;

} // namespace

QList<ComOption> comOptions(int count)
{
    QList<ComOption> options;
    for (int n = 1; n <= count; ++n) {
        // Ports 1 to 4 are captioned without a blank before the digit, the others with one.
        options.append({n <= 4 ? QStringLiteral("COM%1").arg(n) : QStringLiteral("COM %1").arg(n), n});
    }
    return options;
}

PortSelectionWindow::PortSelectionWindow(DemoContext& context, const QList<ComOption>& options,
                                         NextWindow enter, std::optional<NextWindow> cancel)
    : DemoWindow(QStringLiteral("PLEASE SELECT COMPORT")), context_(context), enter_(enter), cancel_(cancel)
{
    QPalette cyan = palette();
    cyan.setColor(QPalette::Window, QColor(0xC0, 0xFF, 0xFF));
    setPalette(cyan);
    setAutoFillBackground(true);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(24, 18, 24, 18);
    layout->setSpacing(14);
    auto* heading = new QLabel(QStringLiteral("PLEASE SELECT COMPORT"));
    QFont big = heading->font();
    big.setPointSize(18);
    big.setBold(true);
    heading->setFont(big);
    heading->setAlignment(Qt::AlignCenter);
    layout->addWidget(heading);
    layout->addLayout(optionGrid(options));
    layout->addLayout(systemPortRow(int(options.size())));
    layout->addLayout(encodingRow());
    extra_ = new QGridLayout;
    layout->addLayout(extra_);
    addButtons(layout);
}

QHBoxLayout* PortSelectionWindow::optionGrid(const QList<ComOption>& options)
{
    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(40);
    options_ = new QButtonGroup(this);
    for (int i = 0; i < options.size(); ++i) {
        auto* option = new QRadioButton(options[i].caption);
        option->setObjectName(QStringLiteral("Option%1").arg(i + 1));
        options_->addButton(option, options[i].number);
        grid->addWidget(option, i % kOptionsPerColumn, i / kOptionsPerColumn);
    }
    // The emulator stands beside the COM options, in the next column.
    auto* simulated = new QRadioButton(QStringLiteral("Simulated display"));
    simulated->setObjectName(QStringLiteral("OptionSimulated"));
    options_->addButton(simulated, kSimulatedOption);
    grid->addWidget(simulated, 0, (int(options.size()) + kOptionsPerColumn - 1) / kOptionsPerColumn);
    connect(options_, &QButtonGroup::idClicked, this, &PortSelectionWindow::optionClicked);
    auto* centred = new QHBoxLayout;
    centred->addStretch();
    centred->addLayout(grid);
    centred->addStretch();
    return centred;
}

QHBoxLayout* PortSelectionWindow::systemPortRow(int comOptionCount)
{
    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel(QStringLiteral("Other port:")));
    systemPorts_ = new QComboBox;
    systemPorts_->setObjectName(QStringLiteral("SystemPorts"));
    systemPorts_->addItem(QString());
    const QList<SystemPortEntry> ports =
        context_.systemPorts ? context_.systemPorts() : QList<SystemPortEntry>{};
    int listed = 0;
    for (const SystemPortEntry& port : ports) {
        // A port that a COM option opens is that option: its system name shows as the option's tip.
        const std::optional<int> com = comPortOpening(port.name, comOptionCount);
        if (QAbstractButton* option = com ? options_->button(*com) : nullptr) {
            option->setToolTip(port.name);
            continue;
        }
        ++listed;
        const QString label = port.description.isEmpty()
                                  ? port.name
                                  : QStringLiteral("%1  (%2)").arg(port.name, port.description);
        systemPorts_->addItem(label, port.name);
    }
    systemPorts_->setEnabled(listed > 0);
    systemPorts_->setMinimumContentsLength(18);
    connect(systemPorts_, &QComboBox::activated, this, &PortSelectionWindow::systemPortChosen);
    row->addWidget(systemPorts_, 1);
    return row;
}

QHBoxLayout* PortSelectionWindow::encodingRow()
{
    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel(QStringLiteral("Text encoding:")));
    auto* encodings = new QComboBox;
    encodings->setObjectName(QStringLiteral("TextEncoding"));
    encodings->setToolTip(QStringLiteral("The encoding that text goes to the display in (Big5 for the "
                                         "traditional-Chinese KD-426)"));
    encodings->addItems(WireEncoding::offeredNames());
    encodings->setCurrentText(context_.state.encoding.name());
    connect(encodings, &QComboBox::textActivated, this, [this](const QString& name) {
        if (const std::optional<WireEncoding> encoding = WireEncoding::fromName(name))
            context_.state.encoding = *encoding;
    });
    row->addWidget(encodings, 1);
    return row;
}

void PortSelectionWindow::addButtons(QVBoxLayout* layout)
{
    const auto [enter, cancel] = addSelectionButtons(layout, QStringLiteral("CANCEL"));
    connect(enter, &QPushButton::clicked, this, [this] { enterClicked(); });
    connect(cancel, &QPushButton::clicked, this, [this] {
        if (cancel_)
            emit handOver(*cancel_);
        else
            emit endRequested();
    });
}

void PortSelectionWindow::enterClicked()
{
    emit handOver(enter_);
}

void PortSelectionWindow::optionClicked(int number)
{
    if (number == kSimulatedOption)
        context_.state.chooseSystemPort(kSimulatedPortName);
    else
        context_.state.chooseComPort(number);
    systemPorts_->setCurrentIndex(0);
}

void PortSelectionWindow::systemPortChosen(int index)
{
    if (index <= 0)
        return;
    context_.state.chooseSystemPort(systemPorts_->itemData(index).toString());
    // One choice at a time: the COM options let go of their check.
    if (QAbstractButton* checked = options_->checkedButton()) {
        options_->setExclusive(false);
        checked->setChecked(false);
        options_->setExclusive(true);
    }
}
