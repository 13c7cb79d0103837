#include "setup/gui/main_window.h"

#include "core/port_name.h"
#include "core/qt_serial_link.h"
#include "core/version.h"
#include "setup/gui/factory_page.h"
#include "setup/gui/firmware_page.h"
#include "setup/gui/general_page.h"
#include "setup/gui/port_list.h"
#include "setup/gui/simulated_display_window.h"
#include "setup/gui/title_set_page.h"
#include "setup/gui/traffic_view.h"
#include "setup/messages/message_catalogue.h"
#include "setup/operations/parameter_vocabulary.h"
#include "widgets/gui_dialogs.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
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

// One of the lists of "Dsp Status".
QComboBox* statusList(const char* name, bool editable, QWidget* parent)
{
    auto* list = new QComboBox(parent);
    list->setObjectName(QString::fromLatin1(name));
    list->setEditable(editable);
    list->setFont(QFont(QStringLiteral("Arial"), 10));
    list->setInsertPolicy(QComboBox::NoInsert);
    return list;
}

} // namespace

MainWindow::MainWindow(DeviceServices services, QSettings* settings, QWidget* parent)
    : QWidget(parent), settings_(settings)
{
    setObjectName(QStringLiteral("formMain"));
    if (!services.dialogs) {
        guiDialogs_ = std::make_unique<GuiDialogs>(this);
        services.dialogs = guiDialogs_.get();
        services.windowDialogs = guiDialogs_.get();
    }
    if (!services.trafficLog)
        services.trafficLog = &trafficLog_;
    runner_ = std::make_unique<OperationRunner>(services);

    QWidget* pages = addPages({*runner_, *services.dialogs, [this] { return selection_; }});
    QWidget* status = addStatusBox();
    trafficToggle_ = new QPushButton(QStringLiteral("Traffic"), this);
    trafficToggle_->setObjectName(QStringLiteral("trafficToggle"));
    trafficToggle_->setCheckable(true);
    trafficToggle_->setToolTip(QStringLiteral("Show every write and DSR change on the wire"));
    trafficView_ = new TrafficView(*services.trafficLog, *services.dialogs, this);
    trafficView_->hide();
    layOut(pages, status);
    connectControls();

    if (services.simulatedDisplay) {
        simWindow_ =
            new SimulatedDisplayWindow(*services.simulatedDisplay, this, services.simulatedFlashFile);
        simWindow_->setWindowFlag(Qt::Window);
        simWindow_->setWindowTitle(QStringLiteral("Simulated VQ71xx display"));
    }
    auto* factory = new QShortcut(QKeySequence(QStringLiteral("Ctrl+Shift+F")), this);
    connect(factory, &QShortcut::activated, this, &MainWindow::showFactoryPage);
}

QWidget* MainWindow::addPages(const PageContext& context)
{
    tabs_ = new QTabBar(this);
    tabs_->setObjectName(QStringLiteral("tabMain"));
    tabs_->addTab(QStringLiteral("General"));
    tabs_->addTab(QStringLiteral("F/W Update"));
    tabs_->addTab(QStringLiteral("Title Set"));
    tabs_->setExpanding(false);

    // pages_ 0 holds the four pages; a tab shows its page and hides the others.
    auto* container = new QWidget(this);
    container->setObjectName(QStringLiteral("frmMain0"));
    generalPage_ = new GeneralPage(context, container);
    firmwarePage_ = new FirmwarePage(context, container);
    titleSetPage_ = new TitleSetPage(context, container);
    factoryPage_ = new FactoryPage(context, container);
    pages_ = {container, generalPage_, firmwarePage_, titleSetPage_, factoryPage_};
    auto* pages = new QVBoxLayout(container);
    pages->setContentsMargins(8, 8, 8, 8);
    for (int i = 1; i < pages_.size(); ++i) {
        pages_[i]->setObjectName(QStringLiteral("frmMain%1").arg(i));
        pages->addWidget(pages_[i]);
    }
    pages->addStretch(1);
    return container;
}

QWidget* MainWindow::addStatusBox()
{
    auto* status = new QGroupBox(QStringLiteral("Dsp Status"), this);
    status->setObjectName(QStringLiteral("Frame1_0"));
    portList_ = statusList("CmbCOM", true, status);
    baudRateList_ = statusList("CmbBaudRate", false, status);
    formatList_ = statusList("CmbComFormat", false, status);
    encodingList_ = statusList("CmbTextEncoding", false, status);
    encodingList_->setToolTip(QStringLiteral("The encoding that text goes to the display in; pick the one "
                                             "of the display's code page"));
    portList_->setMinimumContentsLength(12);
    endButton_ = new QPushButton(QStringLiteral("End"), status);
    endButton_->setObjectName(QStringLiteral("ComEnd"));
    auto* statusLayout = new QFormLayout(status);
    statusLayout->addRow(QStringLiteral("Port"), portList_);
    statusLayout->addRow(QStringLiteral("BaudRate"), baudRateList_);
    statusLayout->addRow(QStringLiteral("Format"), formatList_);
    statusLayout->addRow(QStringLiteral("Text encoding"), encodingList_);
    statusLayout->addRow(endButton_);
    return status;
}

void MainWindow::layOut(QWidget* pages, QWidget* status)
{
    auto* left = new QVBoxLayout;
    left->setSpacing(0);
    left->addWidget(tabs_);
    left->addWidget(pages, 1);
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
    addProfileMenu(layout);
}

void MainWindow::connectControls()
{
    connect(tabs_, &QTabBar::currentChanged, this, &MainWindow::showChosenPage);
    connect(portList_, &QComboBox::currentTextChanged, this, &MainWindow::choosePort);
    connect(baudRateList_, &QComboBox::currentIndexChanged, this, &MainWindow::chooseLine);
    connect(formatList_, &QComboBox::currentIndexChanged, this, &MainWindow::chooseLine);
    connect(encodingList_, &QComboBox::activated, this, &MainWindow::chooseEncoding);
    connect(generalPage_, &GeneralPage::codePageChosen, this, &MainWindow::offerEncodingFor);
    connect(endButton_, &QPushButton::clicked, this, &MainWindow::end);
    connect(trafficToggle_, &QPushButton::toggled, this, &MainWindow::showTraffic);
}

MainWindow::~MainWindow() = default;

Dialogs& MainWindow::dialogs()
{
    return *runner_->services().dialogs;
}

void MainWindow::load()
{
    QSettings platformStore(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Talvex"),
                            QStringLiteral("Talvex"));
    QSettings& store = settings_ ? *settings_ : platformStore;
    QString title = store.value(QStringLiteral("vfdsetup/strFormTitle")).toString();
    if (title.isEmpty())
        title = QStringLiteral("Talvex Display Utility");
    setWindowTitle(
        QStringLiteral("%1 Ver.%2.%3").arg(title).arg(ProjectVersion::kMajor).arg(ProjectVersion::kMinor));

    if (!portDefaultsApplied_) {
        selection_ = PortSelection{};
        portDefaultsApplied_ = true;
    }
    const PortSelection start = selection_;
    QSignalBlocker blockPort(portList_), blockBaud(baudRateList_), blockFormat(formatList_);
    fillPortList(portList_, portListEntries(QtSerialLink::systemPorts()));
    portList_->setCurrentText(start.port);
    baudRateList_->clear();
    formatList_->clear();
    fillLineLists(baudRateList_, formatList_);
    showLine(baudRateList_, formatList_, start.line);
    encodingList_->clear();
    encodingList_->addItems(WireEncoding::offeredNames());
    encodingList_->setCurrentText(start.encoding.name());

    titleSetPage_->demoFileNameChanged();
    firmwarePage_->firmwareFileNameChanged();
    showChosenPage();

    showMessage(dialogs(), flashNoticeMessage());
    followPortChoice();
}

void MainWindow::followPortChoice()
{
    if (!simWindow_)
        return;
    const bool simulated = isSimulatedPort(selection_.port) && isVisible();
    if (simulated && !simWindowPlaced_) {
        placeSimulatedDisplayWindow();
        simWindowPlaced_ = true;
    }
    simWindow_->setVisible(simulated);
}

void MainWindow::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    followPortChoice();
}

void MainWindow::presetPort(const QString& port)
{
    selection_ = PortSelection{};
    selection_.port = port;
    portDefaultsApplied_ = true;
}

void MainWindow::showChosenPage()
{
    // Read before the page changes: Qt grows the window as soon as a larger page shows.
    const bool fitted = fitsContents();
    const int selected = tabs_->currentIndex() + 1;
    // The page that goes is hidden before the one that comes shows: both at once would grow the
    // window to the two of them.
    for (int p = 1; p < pages_.size(); ++p)
        if (p != selected)
            pages_[p]->hide();
    pages_[0]->show();
    pages_[selected]->show();
    if (fitted)
        fitToContents();
}

bool MainWindow::fitsContents() const
{
    return !fittedSize_.isValid() || size() == fittedSize_;
}

void MainWindow::fitToContents()
{
    // Qt grows a window to the minimum of what it shows but never shrinks it back: after a wide page
    // the window would keep covering what stands beside it. Unless the person has sized it by hand,
    // the window takes the size of the page shown (and of the traffic pane while it is open).
    if (!isWindow())
        return;
    // A page shown for the first time has its style (and so its size) only once polished, and the
    // pages' layouts settle on their posted requests: the size is taken once both have happened.
    ensurePolished();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    resize(sizeHint().expandedTo(minimumSizeHint()));
    fittedSize_ = size();
    // The simulated display's window stays beside this one unless the person has moved it.
    if (simWindowPlaced_ && simWindow_->pos() == simWindowBeside_)
        placeSimulatedDisplayWindow();
}

void MainWindow::placeSimulatedDisplayWindow()
{
    // Beside the main window, where a display stands beside the till.
    simWindow_->move(frameGeometry().topRight() + QPoint(12, 0));
    if (simWindow_->isVisible())
        simWindow_->fitScreen(); // as it does when it opens
    simWindowBeside_ = simWindow_->pos();
}

void MainWindow::showFactoryPage()
{
    // Once a technician has opened it, the page gets a tab of its own: the strip then shows which
    // page is up, and a click on the tab that was current before brings that page back.
    const int factoryTab = pages_.size() - 2;
    if (tabs_->count() == factoryTab)
        tabs_->addTab(QStringLiteral("Factory"));
    tabs_->setCurrentIndex(factoryTab);
}

void MainWindow::showTraffic(bool shown)
{
    const bool fitted = fitsContents();
    trafficToggle_->setChecked(shown);
    trafficView_->setVisible(shown);
    if (shown)
        trafficView_->refresh();
    if (fitted)
        fitToContents();
}

void MainWindow::choosePort()
{
    selection_.port = portList_->currentText();
    followPortChoice();
}

void MainWindow::chooseLine()
{
    selection_.line = shownLine(baudRateList_, formatList_);
}

void MainWindow::chooseEncoding()
{
    if (const std::optional<WireEncoding> encoding = WireEncoding::fromName(encodingList_->currentText())) {
        selection_.encoding = *encoding;
        encodingChosen_ = true;
    }
}

void MainWindow::offerEncodingFor(int codePage)
{
    const std::optional<WireEncoding> encoding =
        WireEncoding::fromName(QString::fromLatin1(codePageEncoding(codePage)));
    if (encodingChosen_ || !encoding)
        return;
    selection_.encoding = *encoding;
    if (encodingList_->findText(encoding->name()) < 0)
        encodingList_->addItem(encoding->name());
    encodingList_->setCurrentText(encoding->name());
}

void MainWindow::end()
{
    close();
}

void MainWindow::closeEvent(QCloseEvent* event)
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
