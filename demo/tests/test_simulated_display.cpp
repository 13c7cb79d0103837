// The "Simulated display" choice of each port window: the windows reach the emulator instead of a port,
// as the model of the job that opens it, and the ways its line refuses to open.
#include "demo/emulators/customer_display_emulator.h"
#include "demo/tests/demo_harness.h"

#include <QPushButton>
#include <QTest>

namespace {

// A run whose ports reach the emulator when "Simulated display" is chosen and the recording line
// otherwise. The emulator outlives the windows, whose ports let go of it as they close.
struct SimulatedRun
{
    VirtualPacer time;
    CustomerDisplayEmulator emulator{time};
    DemoHarness h{&emulator};
};

} // namespace

class TestSimulatedDisplay : public QObject
{
    Q_OBJECT
private slots:
    void windowsReachTheEmulator_data();
    void windowsReachTheEmulator();
    void modelTravelsWithTheJob();
};

void TestSimulatedDisplay::windowsReachTheEmulator_data()
{
    QTest::addColumn<QString>("steps");
    QTest::addColumn<DisplayProduct>("model");
    QTest::addColumn<QString>("shown"); // the emulator's first row afterwards, or the box
    QTest::addColumn<bool>("held");     // the port window's line stays connected
    QTest::newRow("KD-317") << "Command6 OptionSimulated Command1" << DisplayProduct::KD317
                            << "-WELCOME- TEST MODE-" << true;
    QTest::newRow("KD-426") << "Command7 OptionSimulated Command1 Command16" << DisplayProduct::KD426
                            << "                    " << false;
    QTest::newRow("KD-138") << "Command8 OptionSimulated Command1 Command1" << DisplayProduct::KD138
                            << "12345678901         " << false;
    QTest::newRow("in use by another program")
        << "other Command7 OptionSimulated Command1" << DisplayProduct::KD317
        << "box Port Error: sim cannot be opened (error 8005):\nThe simulated display is in use." << true;
    QTest::newRow("settings that do not parse")
        << "Command6 OptionSimulated boudrate:9600,x,8,1 Command1" << DisplayProduct::KD317
        << "box Port Error: sim cannot be opened (error 8015):\nThe line settings cannot be applied."
        << false;
}

void TestSimulatedDisplay::windowsReachTheEmulator()
{
    QFETCH(QString, steps);
    QFETCH(DisplayProduct, model);
    QFETCH(QString, shown);
    QFETCH(bool, held);
    SimulatedRun run;
    if (steps.startsWith("other"))
        run.emulator.claimLine(); // another program holds the line
    run.h.perform(steps.remove("other"));
    QCOMPARE(run.emulator.model(), model);
    QCOMPARE(run.emulator.isConnected(), held);
    if (shown.startsWith("box ")) {
        QCOMPARE(run.h.line.log, QStringList{shown});
        QCOMPARE(run.h.currentTitle(), QStringLiteral("PLEASE SELECT COMPORT"));
        return;
    }
    // Nothing reached the recording line; the time of day is the run's (KD-426 SHOW TIME SMALL).
    QCOMPARE(run.h.line.log, QStringList());
    QCOMPARE(run.h.context.state.portText(), QStringLiteral("sim"));
    QCOMPARE(run.emulator.frame().grid.rowText(0), shown);
    if (model == DisplayProduct::KD426)
        QCOMPARE(run.emulator.kd426().rowText(1), QStringLiteral("      09:05:07      "));
    QCOMPARE(run.emulator.log().total(), 0);
}

// The simulated display takes the part of the model the job was made for, whatever the windows have
// chosen since.
void TestSimulatedDisplay::modelTravelsWithTheJob()
{
    SimulatedRun run;
    run.h.perform("Command7 OptionSimulated Command1");
    QTest::mouseClick(run.h.current()->findChild<QPushButton*>("Command16"), Qt::LeftButton);
    run.h.context.state.displayModel = DisplayProduct::KD317;
    run.h.settle();
    QCOMPARE(run.emulator.model(), DisplayProduct::KD426);
}

QTEST_MAIN(TestSimulatedDisplay)
#include "test_simulated_display.moc"
