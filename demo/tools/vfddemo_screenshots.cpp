// Runs each demonstration against the simulated display, as a person would click through it, and saves
// a picture of the demonstration window beside the emulator's window for every scene.
#include "demo/emulator_views/emulator_window.h"
#include "demo/emulators/customer_display_emulator.h"
#include "demo/tests/demo_harness.h"

#include "core/pacer.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QPainter>
#include <cstdio>

namespace {

struct Shooter
{
    QDir out;
    EmulatorWindow& emulatorWindow;
    DemoHarness& harness;
    int saved = 0;

    void shoot(const QString& name)
    {
        QApplication::processEvents();
        const QPixmap demo = harness.current()->grab();
        const QPixmap display = emulatorWindow.grab();
        QImage scene(demo.width() + display.width() + 24, qMax(demo.height(), display.height()) + 16,
                     QImage::Format_RGB32);
        scene.fill(QColor(208, 212, 218));
        QPainter painter(&scene);
        painter.drawPixmap(8, 8, demo);
        painter.drawPixmap(demo.width() + 16, 8, display);
        painter.end();
        const QString path = out.filePath(name + QStringLiteral(".png"));
        if (scene.save(path)) {
            ++saved;
        } else {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        }
    }
};

// KD-317: the greeting, then typed over in reverse, then the clock.
void shootCommandList(Shooter& shooter, DemoHarness& h, VirtualPacer& simulatedTime)
{
    h.click(QStringLiteral("Command6"));
    h.click(QStringLiteral("OptionSimulated"));
    h.click(QStringLiteral("Command1"));
    shooter.shoot(QStringLiteral("kd317_greeting"));
    h.dialogs.replies = {QStringLiteral("3")};
    h.click(QStringLiteral("Command11"));
    h.dialogs.replies = {QStringLiteral("PRICE  12.50")};
    h.duringPause = [&] { shooter.shoot(QStringLiteral("kd317_reverse")); };
    h.click(QStringLiteral("Command16"));
    h.duringPause = nullptr;
    h.dialogs.replies = {QStringLiteral("9"), QStringLiteral("41")};
    h.click(QStringLiteral("Command28"));
    simulatedTime.advance(3 * 60 * 1000);
    shooter.shoot(QStringLiteral("kd317_time"));
}

// The Katakana table, caught while its second group (160 to 191) is held; the German international set.
void shootCharacterSets(Shooter& shooter, DemoHarness& h)
{
    h.click(QStringLiteral("Command14"));
    h.click(QStringLiteral("Option2"));
    int pause = 0;
    h.duringPause = [&] {
        if (++pause == 2)
            shooter.shoot(QStringLiteral("kd317_katakana"));
    };
    h.click(QStringLiteral("Command1"));
    h.duringPause = nullptr;
    h.click(QStringLiteral("Command2"));
    h.click(QStringLiteral("Command15"));
    h.click(QStringLiteral("Option3"));
    h.click(QStringLiteral("Command1"));
    shooter.shoot(QStringLiteral("kd317_germany"));
}

// KD-426: a double line, a fourth line, and the printer pass-through. The traditional-Chinese model
// takes its text in Big5, picked on its port window.
void shootFourLine(Shooter& shooter, DemoHarness& h)
{
    h.navigator.show(NextWindow::Kd426PortSelection);
    auto* encodings = h.current()->findChild<QComboBox*>(QStringLiteral("TextEncoding"));
    encodings->setCurrentText(QStringLiteral("Big5"));
    emit encodings->textActivated(encodings->currentText());
    h.click(QStringLiteral("OptionSimulated"));
    shooter.shoot(QStringLiteral("kd426_port"));
    h.click(QStringLiteral("Command1"));
    h.dialogs.replies = {QStringLiteral(" TALVEX SYSTEM.,LTD ")};
    h.click(QStringLiteral("Command6"));
    h.dialogs.replies = {QString::fromUtf8("  總計     NT$ 1250")};
    h.click(QStringLiteral("Command4"));
    h.click(QStringLiteral("Command8"));
    shooter.shoot(QStringLiteral("kd426_printer"));
    h.click(QStringLiteral("Command17"));
    shooter.shoot(QStringLiteral("kd426_time_double"));
}

// KD-138: its one line.
void shootOneLine(Shooter& shooter, DemoHarness& h)
{
    h.navigator.show(NextWindow::Kd138PortSelection);
    h.click(QStringLiteral("OptionSimulated"));
    h.click(QStringLiteral("Command1"));
    h.click(QStringLiteral("Command1"));
    shooter.shoot(QStringLiteral("kd138_line"));
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    const QString outDir = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(".");
    QDir().mkpath(outDir);

    // The emulator outlives the windows, whose ports let go of it as they close.
    VirtualPacer simulatedTime;
    CustomerDisplayEmulator emulator(simulatedTime);
    EmulatorWindow emulatorWindow(emulator);
    DemoHarness h(&emulator);
    QObject::connect(&emulator, &CustomerDisplayEmulator::lineConnected, &emulatorWindow,
                     [&] { emulatorWindow.showBeside(h.current()); });
    Shooter shooter{QDir(outDir), emulatorWindow, h};
    shootCommandList(shooter, h, simulatedTime);
    shootCharacterSets(shooter, h);
    shootFourLine(shooter, h);
    shootOneLine(shooter, h);
    std::printf("%d pictures in %s\n", shooter.saved, qPrintable(outDir));
    return shooter.saved == 9 ? 0 : 1;
}
