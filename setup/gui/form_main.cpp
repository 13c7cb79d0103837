#include "gui/form_main.h"

#include "core/port_name.h"
#include "core/qt_serial_link.h"
#include "gui/factory_page.h"
#include "gui/firmware_page.h"
#include "gui/general_page.h"
#include "gui/simulated_display_window.h"
#include "gui/title_set_page.h"
#include "gui/traffic_view.h"
#include "operations/parameter_vocabulary.h"
#include "widgets/gui_dialogs.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSettings>
#include <QShortcut>
#include <QShowEvent>
#include <QTabBar>
#include <QVBoxLayout>

namespace {

constexpr int kComPortCount = 39;

QComboBox* PortList(const char* name, bool editable, QWidget* parent)
{
    auto* list = new QComboBox(parent);
    list->setObjectName(QString::fromLatin1(name));
    list->setEditable(editable);
    list->setFont(QFont(QStringLiteral("Arial"), 10));
    list->setInsertPolicy(QComboBox::NoInsert);
    return list;
}

} // namespace

formMain::formMain(DeviceServices services, QSettings* settings, QWidget* parent)
    : QWidget(parent), settings_(settings)
{
    setObjectName(QStringLiteral("formMain"));
    if (!services.dialogs) {
        guiDialogs_ = std::make_unique<GuiDialogs>(this);
        services.dialogs = guiDialogs_.get();
        services.windowDialogs = guiDialogs_.get();
    }
    if (!services.makeRealLink)
        services.makeRealLink = [] { return std::unique_ptr<SerialLink>(std::make_unique<QtSerialLink>()); };
    if (!services.trafficLog)
        services.trafficLog = &trafficLog_;
    runner_ = std::make_unique<OperationRunner>(services);
    const PageContext context{*runner_, *services.dialogs, [this] { return selection_; }};

    tabMain = new QTabBar(this);
    tabMain->setObjectName(QStringLiteral("tabMain"));
    tabMain->addTab(QStringLiteral("General"));
    tabMain->addTab(QStringLiteral("F/W Update"));
    tabMain->addTab(QStringLiteral("Title Set"));
    tabMain->setExpanding(false);

    // frmMain 0 holds the four pages; a tab shows its page and hides the others.
    auto* container = new QWidget(this);
    container->setObjectName(QStringLiteral("frmMain0"));
    generalPage_ = new GeneralPage(context, container);
    firmwarePage_ = new FirmwarePage(context, container);
    titleSetPage_ = new TitleSetPage(context, container);
    factoryPage_ = new FactoryPage(context, container);
    frmMain = {container, generalPage_, firmwarePage_, titleSetPage_, factoryPage_};
    auto* pages = new QVBoxLayout(container);
    pages->setContentsMargins(8, 8, 8, 8);
    for (int i = 1; i < frmMain.size(); ++i) {
        frmMain[i]->setObjectName(QStringLiteral("frmMain%1").arg(i));
        pages->addWidget(frmMain[i]);
    }
    pages->addStretch(1);

    auto* status = new QGroupBox(QStringLiteral("Dsp Status"), this);
    status->setObjectName(QStringLiteral("Frame1_0"));
    CmbCOM = PortList("CmbCOM", true, status);
    CmbBaudRate = PortList("CmbBaudRate", false, status);
    CmbComFormat = PortList("CmbComFormat", false, status);
    CmbCOM->setMinimumContentsLength(12);
    ComEnd = new QPushButton(QStringLiteral("End"), status);
    ComEnd->setObjectName(QStringLiteral("ComEnd"));
    auto* statusLayout = new QFormLayout(status);
    statusLayout->addRow(QStringLiteral("Port"), CmbCOM);
    statusLayout->addRow(QStringLiteral("BaudRate"), CmbBaudRate);
    statusLayout->addRow(QStringLiteral("Format"), CmbComFormat);
    statusLayout->addRow(ComEnd);

    trafficToggle_ = new QPushButton(QStringLiteral("Traffic"), this);
    trafficToggle_->setObjectName(QStringLiteral("trafficToggle"));
    trafficToggle_->setCheckable(true);
    trafficToggle_->setToolTip(QStringLiteral("Show every write and DSR change on the wire"));
    trafficView_ = new TrafficView(*services.trafficLog, *services.dialogs, this);
    trafficView_->hide();

    auto* left = new QVBoxLayout;
    left->setSpacing(0);
    left->addWidget(tabMain);
    left->addWidget(container, 1);
    auto* right = new QVBoxLayout;
    right->addWidget(status);
    right->addStretch(1);
    right->addWidget(trafficToggle_);
    auto* top = new QHBoxLayout;
    top->addLayout(left, 1);
    top->addLayout(right);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top, 1);
    layout->addWidget(trafficView_);

    connect(tabMain, &QTabBar::currentChanged, this, &formMain::tabMain_Click);
    connect(CmbCOM, &QComboBox::currentTextChanged, this, &formMain::CmbCOM_Click);
    connect(CmbBaudRate, &QComboBox::currentTextChanged, this, &formMain::CmbBaudRate_Click);
    connect(CmbComFormat, &QComboBox::currentTextChanged, this, &formMain::CmbComFormat_Click);
    connect(ComEnd, &QPushButton::clicked, this, &formMain::ComEnd_Click);
    connect(trafficToggle_, &QPushButton::toggled, this, &formMain::showTraffic);
    if (services.simulatedDisplay) {
        simWindow_ = new SimulatedDisplayWindow(*services.simulatedDisplay, this);
        simWindow_->setWindowFlag(Qt::Window);
        simWindow_->setWindowTitle(QStringLiteral("Simulated VQ71xx display"));
    }
    auto* factory = new QShortcut(QKeySequence(QStringLiteral("Ctrl+Shift+F")), this);
    connect(factory, &QShortcut::activated, this, &formMain::showFactoryPage);
}

formMain::~formMain() = default;

Dialogs& formMain::dialogs()
{
    return *runner_->services().dialogs;
}

void formMain::Form_Load()
{
    QSettings platformStore(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Talvex"),
                            QStringLiteral("Talvex"));
    QSettings& store = settings_ ? *settings_ : platformStore;
    QString title = store.value(QStringLiteral("vfdsetup/strFormTitle")).toString();
    if (title.isEmpty())
        title = QStringLiteral("Talvex Display Utility");
    setWindowTitle(
        QStringLiteral("%1 Ver.%2.%3").arg(title).arg(VFDSETUP_VERSION_MAJOR).arg(VFDSETUP_VERSION_MINOR));

    if (!portDefaultsApplied_) {
        selection_ = PortSelection{};
        portDefaultsApplied_ = true;
    }
    const PortSelection start = selection_;
    QSignalBlocker blockPort(CmbCOM), blockBaud(CmbBaudRate), blockFormat(CmbComFormat);
    CmbCOM->clear();
    for (int n = 1; n <= kComPortCount; ++n)
        CmbCOM->addItem(QStringLiteral("COM%1").arg(n));
    for (const auto& [name, description] : QtSerialLink::systemPorts()) {
        CmbCOM->addItem(name);
        if (!description.isEmpty())
            CmbCOM->setItemData(CmbCOM->count() - 1, description, Qt::ToolTipRole);
    }
    CmbCOM->addItem(kSimulatedPortName);
    CmbCOM->setItemData(CmbCOM->count() - 1, QStringLiteral("simulated VQ71xx display"), Qt::ToolTipRole);
    CmbCOM->setCurrentText(start.port);
    CmbBaudRate->clear();
    CmbBaudRate->addItems(BaudRateItems());
    CmbBaudRate->setCurrentText(QString::number(start.line.baud));
    CmbComFormat->clear();
    CmbComFormat->addItems(ComFormatItems());
    CmbComFormat->setCurrentText(start.line.toText().section(QLatin1Char(','), 1));

    titleSetPage_->txtDEMOFile_Change();
    firmwarePage_->Text1_Change(0);
    tabMain_Click();

    dialogs().message(Dialogs::Exclamation, QStringLiteral("Notice!!"),
                      QStringLiteral("Flash re-programming is highly host resource dependent,\r\n"
                                     "any multi-task activity including Audio/Video playback\r\n"
                                     "or Ethernet-transmission may increase the risk of failure."));
    followPortChoice();
}

void formMain::followPortChoice()
{
    if (!simWindow_)
        return;
    const bool simulated = IsSimulatedPort(selection_.port) && isVisible();
    if (simulated && !simWindowPlaced_) {
        // Beside the main window, where a display stands beside the till.
        simWindow_->move(frameGeometry().topRight() + QPoint(12, 0));
        simWindowPlaced_ = true;
    }
    simWindow_->setVisible(simulated);
}

void formMain::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    followPortChoice();
}

void formMain::presetPort(const QString& port)
{
    selection_ = PortSelection{};
    selection_.port = port;
    portDefaultsApplied_ = true;
}

void formMain::tabMain_Click()
{
    const int selected = tabMain->currentIndex() + 1;
    for (int p = 0; p < frmMain.size(); ++p)
        frmMain[p]->setVisible(p == 0 || p == selected);
}

void formMain::showFactoryPage()
{
    // Once a technician has opened it, the page gets a tab of its own: the strip then shows which
    // page is up, and a click on the tab that was current before brings that page back.
    const int factoryTab = frmMain.size() - 2;
    if (tabMain->count() == factoryTab)
        tabMain->addTab(QStringLiteral("Factory"));
    tabMain->setCurrentIndex(factoryTab);
}

void formMain::showTraffic(bool shown)
{
    trafficToggle_->setChecked(shown);
    trafficView_->setVisible(shown);
    if (shown)
        trafficView_->refresh();
}

void formMain::CmbCOM_Click()
{
    selection_.port = CmbCOM->currentText();
    followPortChoice();
}

void formMain::CmbBaudRate_Click()
{
    selection_.setLine(CmbBaudRate->currentText(), CmbComFormat->currentText());
}

void formMain::CmbComFormat_Click()
{
    selection_.setLine(CmbBaudRate->currentText(), CmbComFormat->currentText());
}

void formMain::ComEnd_Click()
{
    close();
}

void formMain::closeEvent(QCloseEvent* event)
{
    if (!runner_->busy()) {
        event->accept();
        return;
    }
    // Stop the operation at its next wait; the window closes once the port is closed again.
    runner_->shutDown();
    event->ignore();
    connect(runner_.get(), &OperationRunner::operationFinished, this, &QWidget::close, Qt::UniqueConnection);
}
