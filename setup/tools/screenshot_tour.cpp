// Takes the README's screenshots: vfdsetup on the simulated display, each page after a real
// operation, and the simulated display's window showing the result. Boxes are answered by a
// scripted dialog so that only the windows are pictured.
// Run under Xvfb: scripts/screenshots.sh (writes docs/screenshots/).
#include "core/pacer.h"
#include "setup/gui/main_window.h"
#include "setup/gui/simulated_display_window.h"
#include "setup/protocol/crc16.h"
#include "setup/sim/simulated_display.h"
#include "setup/tests/scripted_dialogs.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTextStream>

namespace {

class Tour
{
public:
    Tour(const QString& outputDir) : display_(pacer_), out_(outputDir)
    {
        window_ = std::make_unique<MainWindow>(DeviceServices{&pacer_, &dialogs_, &display_, {}});
        window_->presetPort(QStringLiteral("sim"));
        window_->load();
        window_->resize(760, 420);
        window_->show();
        settle(300);
    }

    template <typename T = QWidget> T* find(const char* name)
    {
        return window_->findChild<T*>(QLatin1String(name));
    }

    void settle(int ms)
    {
        QElapsedTimer timer;
        timer.start();
        while (timer.elapsed() < ms)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }

    bool press(const char* button)
    {
        QSignalSpy done(&window_->runner(), &OperationRunner::operationFinished);
        find<QPushButton>(button)->click();
        return done.wait(180000);
    }

    void tab(int index)
    {
        find<QTabBar>("tabMain")->setCurrentIndex(index);
        settle(100);
    }

    void shoot(QWidget* widget, const QString& name)
    {
        settle(200);
        const QString path = out_.filePath(name);
        widget->grab().save(path);
        QTextStream(stdout) << "wrote " << path << Qt::endl;
    }

    MainWindow& window() { return *window_; }
    ScriptedDialogs& dialogs() { return dialogs_; }

private:
    RealPacer pacer_;
    SimulatedDisplay display_;
    ScriptedDialogs dialogs_;
    QDir out_;
    std::unique_ptr<MainWindow> window_;
};

// A small valid firmware file: an image, then its CRC over the image and one 0x00, high byte first.
QString makeFirmwareFile(const QTemporaryDir& dir)
{
    QByteArray image;
    for (int i = 0; i < 1500; ++i)
        image.append(static_cast<char>(i * 7));
    const quint16 crc = crc16Value(image + QByteArray(1, '\0'));
    const QString path = dir.filePath(QStringLiteral("VQ7146_V1.11.wfu"));
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(image + QByteArray(1, static_cast<char>(crc >> 8)) +
                   QByteArray(1, static_cast<char>(crc & 0xFF)));
    return path;
}

QString makeDemoFile(const QTemporaryDir& dir)
{
    const QString path = dir.filePath(QStringLiteral("shop_demo.bin"));
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(QByteArray::fromHex("55AA5AA5") + QByteArray(1200, 'D') + QByteArray::fromHex("0000"));
    return path;
}

// The three pages after their operations, the display showing the result, and the factory page.
void shootPages(Tour& tour, const QTemporaryDir& files)
{
    // General: store parameters with a code page of our own, traffic pane open.
    tour.window().showTraffic(true);
    tour.press("ComRegTalvex");
    tour.shoot(&tour.window(), QStringLiteral("vfdsetup-general.png"));
    tour.window().showTraffic(false);

    // Title Set: a title page and a DEMO.
    tour.tab(2);
    tour.find<QLineEdit>("Text1_1")->setText(QStringLiteral("  Welcome to Kestrel"));
    tour.find<QLineEdit>("Text2_1")->setText(QStringLiteral("   Total  12.50 EUR"));
    tour.press("ComCoverPage_1");
    tour.dialogs().scriptFile(makeDemoFile(files));
    tour.find<QPushButton>("Command1")->click();
    tour.press("cmbWriteDEMO");
    tour.shoot(&tour.window(), QStringLiteral("vfdsetup-title-set.png"));

    // F/W Update: a three-page image.
    tour.tab(1);
    tour.dialogs().scriptFile(makeFirmwareFile(files));
    tour.find<QPushButton>("ComOpenFile_0")->click();
    tour.press("ComDownLoad");
    tour.shoot(&tour.window(), QStringLiteral("vfdsetup-firmware.png"));

    // The display after its restart shows the new title page.
    tour.settle(800);
    tour.shoot(tour.window().simulatedDisplayWindow(), QStringLiteral("simulated-display.png"));

    // The factory page, which a technician opens with Ctrl+Shift+F.
    tour.window().showFactoryPage();
    tour.shoot(&tour.window(), QStringLiteral("vfdsetup-factory.png"));
}

// A Russian display: the code page picked on the General page brings its text encoding along, and a
// Cyrillic title reads in Cyrillic on the display.
void shootRussianDisplay(Tour& tour)
{
    tour.tab(0);
    auto* codePages = tour.find<QComboBox>("CmbCodePageSelect");
    codePages->setCurrentText(QStringLiteral("Russian"));
    emit codePages->activated(codePages->currentIndex());
    tour.press("ComRegTalvex");
    tour.shoot(&tour.window(), QStringLiteral("vfdsetup-russian.png"));
    tour.tab(2);
    tour.find<QLineEdit>("Text1_1")->setText(QString::fromUtf8("Добро пожаловать!"));
    tour.find<QLineEdit>("Text2_1")->setText(QString::fromUtf8("Итого    12,50 руб"));
    tour.press("ComCoverPage_1");
    tour.settle(800);
    tour.shoot(tour.window().simulatedDisplayWindow(), QStringLiteral("simulated-display-cyrillic.png"));
}

// F/W Update while it runs, "Cancel" beside its progress; cancelled once pictured.
void shootFirmwareRunning(Tour& tour)
{
    tour.tab(1);
    QSignalSpy done(&tour.window().runner(), &OperationRunner::operationFinished);
    tour.find<QPushButton>("ComDownLoad")->click();
    tour.settle(2500);
    tour.shoot(&tour.window(), QStringLiteral("vfdsetup-firmware-running.png"));
    tour.find<QPushButton>("ComCancelDownLoad")->click();
    done.wait(10000);
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    const QString outputDir = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("docs/screenshots");
    QDir().mkpath(outputDir);
    QTemporaryDir files;
    Tour tour(outputDir);
    shootPages(tour, files);
    shootRussianDisplay(tour);
    shootFirmwareRunning(tour);
    return 0;
}
