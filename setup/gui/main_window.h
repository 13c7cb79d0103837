#pragma once

#include "core/traffic_log.h"
#include "setup/gui/operation_runner.h"
#include "setup/gui/page_context.h"
#include "setup/protocol/port_selection.h"

#include <QWidget>
#include <memory>

class FactoryPage;
class FirmwarePage;
class GeneralPage;
class GuiDialogs;
class QComboBox;
class QPushButton;
class QSettings;
class QTabBar;
class QVBoxLayout;
class SimulatedDisplayWindow;
class TitleSetPage;
class TrafficView;

// vfdsetup's one window: the tab strip with the General, F/W Update and Title Set pages, the
// hidden factory page, and "Dsp Status" with the port selection and "End".
class MainWindow : public QWidget
{
    Q_OBJECT

public:
    // `services.dialogs` may be null: the window then uses Qt's boxes. `settings` is where the
    // caption's title is read from (null: the platform's per-user store).
    explicit MainWindow(DeviceServices services, QSettings* settings = nullptr, QWidget* parent = nullptr);
    ~MainWindow() override;

    // Start-up: caption, lists, the file boxes' handlers, the first page, then the "Notice!!" box.
    void load();
    void showChosenPage();
    void choosePort();
    // The person picked a rate or a format.
    void chooseLine();
    // The person picked a text encoding: it stays until they pick another.
    void chooseEncoding();
    // The code page picked on the General page: its encoding is chosen for the person, unless they
    // have chosen one themselves.
    void offerEncodingFor(int codePage);
    void end();
    // Starts with another port than COM1 selected (vfdsetup --port sim). Call before load.
    void presetPort(const QString& port);
    // Shows the factory page for a technician (Ctrl+Shift+F or --factory); it has no tab until then.
    void showFactoryPage();

    // The File menu's "Save profile…" and "Load profile…": the General page's six choices, the two
    // title lines, the chosen DEMO and firmware files, in vfdctl's profile format. Loading sends
    // nothing to the display; a file is checked as its page's file input checks it.
    void saveProfile();
    void loadProfile();
    bool saveProfileTo(const QString& path);
    bool loadProfileFrom(const QString& path);

    // Shows or hides the traffic pane (hidden at start).
    void showTraffic(bool shown);

    PortSelection selection() const { return selection_; }
    // The window of the simulated display; shown while the port "sim" is chosen. Null without one.
    SimulatedDisplayWindow* simulatedDisplayWindow() const { return simWindow_; }
    OperationRunner& runner() { return *runner_; }

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    Dialogs& dialogs();

    TrafficLog trafficLog_;
    std::unique_ptr<GuiDialogs> guiDialogs_;
    std::unique_ptr<OperationRunner> runner_;
    QSettings* settings_;
    PortSelection selection_;
    bool portDefaultsApplied_ = false;

    QTabBar* tabs_;
    QList<QWidget*> pages_;
    GeneralPage* generalPage_;
    FirmwarePage* firmwarePage_;
    TitleSetPage* titleSetPage_;
    FactoryPage* factoryPage_;
    QComboBox* portList_;
    QComboBox* baudRateList_;
    QComboBox* formatList_;
    QComboBox* encodingList_;
    bool encodingChosen_ = false;
    QPushButton* endButton_;
    QPushButton* trafficToggle_;
    TrafficView* trafficView_;
    SimulatedDisplayWindow* simWindow_ = nullptr;
    bool simWindowPlaced_ = false;
    QPoint simWindowBeside_;
    // The size the window last took from what it shows; another size is the person's own.
    QSize fittedSize_;

    // Parts of the constructor: the tab strip and the pages (their container returned), "Dsp Status",
    // the layout around them, the controls' connections.
    QWidget* addPages(const PageContext& context);
    QWidget* addStatusBox();
    void layOut(QWidget* pages, QWidget* status);
    void connectControls();
    void followPortChoice();
    bool fitsContents() const;
    void fitToContents();
    void placeSimulatedDisplayWindow();
    void addProfileMenu(QVBoxLayout* layout);
};
