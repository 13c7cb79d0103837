// The simulated display window: the decoded flash after real operations, the restart after "F@" and
// the DSR pulses in virtual time, "Power cycle", and the fault switches' failure messages.
#include "gui/simulated_display_window.h"
#include "operations/general_record.h"
#include "operations/parameter_vocabulary.h"
#include "operations/title_page.h"
#include "presented.h"
#include "protocol/display_access.h"
#include "protocol/frame.h"
#include "scripted_dialogs.h"
#include "sim/simulated_display.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>

namespace {

struct Bench
{
    Bench() : display(pacer), device(display, pacer, dialogs), window(display) {}
    VirtualPacer pacer;
    SimulatedDisplay display;
    ScriptedDialogs dialogs;
    DisplayAccess device;
    SimulatedDisplayWindow window;

    QString label(const char* name) const
    {
        auto* label = window.findChild<QLabel*>(QLatin1String(name));
        return label ? label->text() : QStringLiteral("<no %1>").arg(QLatin1String(name));
    }
    bool lampLit() const { return window.findChild<QLabel*>("dsrLamp")->property("lit").toBool(); }
    // Moves virtual time on in the window's 10 ms polling steps.
    void run(int milliseconds)
    {
        for (int t = 0; t < milliseconds; t += 10) {
            pacer.advance(10);
            window.refresh();
        }
    }
    // Writes bytes to the display at its power-on line settings, as a host program would.
    void hostWrites(const QByteArray& bytes)
    {
        if (!display.isOpen()) {
            display.setSettings(LineSettings{});
            display.open();
        }
        display.write(bytes);
    }
};

} // namespace

class SimulatedDisplayWindowTest : public QObject
{
    Q_OBJECT

private slots:
    void flashViewAfterAWrite_data()
    {
        QTest::addColumn<QStringList>("chosen"); // baud, format, command set, code page, charset, brightness
        QTest::addColumn<QString>("codePage");
        QTest::addColumn<int>("brightness");
        QTest::addColumn<bool>("note");
        QTest::newRow("defaults") << QStringList{"9600", "N,8,1", "EPSON", "Europe", "USA", "100%"}
                                  << "(not set)" << 100 << true;
        QTest::newRow("PC858, 25 %") << QStringList{"19200", "E,8,1", "CD5220", "PC858", "Germany", "25%"}
                                     << "PC858" << 25 << false;
        QTest::newRow("Slavonic, 75 %")
            << QStringList{"4800", "O,7,1", "DSP800", "Slavonic", "Itlay", "75%"} << "Slavonic" << 75 << true;
        QTest::newRow("WPC1252, 50 %")
            << QStringList{"115200", "N,8,1", "BA63", "WPC1252", "Spain", "50%"} << "WPC1252" << 50 << false;
    }
    void flashViewAfterAWrite()
    {
        QFETCH(QStringList, chosen);
        QFETCH(QString, codePage);
        QFETCH(int, brightness);
        QFETCH(bool, note);
        Bench bench;
        const GeneralParameters parameters = generalParametersNamed(chosen);
        bench.window.refresh();
        QCOMPARE(bench.label("lblBaudRate"), QStringLiteral("(erased)"));
        QCOMPARE(bench.label("lblGeneral"), QStringLiteral("erased: the display runs at 9600,N,8,1"));
        QVERIFY(Presented(bench.dialogs, writeGeneralParameters(bench.device, parameters)));
        bench.window.refresh();
        QCOMPARE(bench.label("lblGeneral"), QStringLiteral("stored"));
        QCOMPARE(bench.label("lblBaudRate"), chosen.at(0));
        QCOMPARE(bench.label("lblDataFormat"), chosen.at(1));
        QCOMPARE(bench.label("lblCommandSet"), chosen.at(2));
        QCOMPARE(bench.label("lblCodePage"), codePage);
        QCOMPARE(bench.label("lblCharset"), chosen.at(4));
        QCOMPARE(bench.label("lblBrightness"), chosen.at(5));
        QCOMPARE(bench.window.screen()->frame().brightness, brightness / 25); // 25 % is level 1
        QCOMPARE(!bench.label("lblCodePageNote").isEmpty(), note);

        // Erased again at the line settings the display now listens at.
        bench.device.selection.setLine(chosen.at(0), chosen.at(1));
        QVERIFY(Presented(bench.dialogs, eraseGeneralParameters(bench.device)));
        bench.window.refresh();
        QCOMPARE(bench.label("lblCodePage"), QStringLiteral("(erased)"));
        QCOMPARE(bench.label("lblGeneral"), QStringLiteral("erased: the display runs at 9600,N,8,1"));
        QCOMPARE(bench.window.screen()->frame().brightness, 4);
    }

    void titlePageInTheDisplaysCodePage_data()
    {
        QTest::addColumn<QString>("codePage");
        QTest::addColumn<QString>("shown");
        QTest::newRow("PC858") << "PC858"
                               << "\"Total        12,50 €\" / \"Danke!              \"";
        QTest::newRow("PC850") << "PC850"
                               << "\"Total        12,50 ı\" / \"Danke!              \"";
        QTest::newRow("WPC1252") << "WPC1252"
                                 << "\"Total        12,50 Õ\" / \"Danke!              \"";
    }
    void titlePageInTheDisplaysCodePage()
    {
        QFETCH(QString, codePage);
        QFETCH(QString, shown);
        Bench bench;
        GeneralParameters parameters;
        parameters.codePage = quint8(codePageCode(codePage));
        QVERIFY(Presented(bench.dialogs, writeGeneralParameters(bench.device, parameters)));
        bench.run(600);
        QCOMPARE(bench.label("lblTitlePage"), QStringLiteral("(erased): the display shows its own lines"));
        QVERIFY(Presented(
            bench.dialogs,
            writeTitlePage(bench.device, QString::fromLatin1("Total        12,50 \xD5"), "Danke!")));
        bench.run(600);
        QCOMPARE(bench.label("lblTitlePage"), shown);
        QCOMPARE(bench.window.screenContent(), QByteArray("Total        12,50 \xD5"
                                                          "Danke!              "));
        // The screen draws those bytes in the display's code page.
        const VfdGrid& grid = bench.window.screen()->frame().grid;
        QCOMPARE(QStringLiteral("\"%1\" / \"%2\"").arg(grid.rowText(0), grid.rowText(1)), shown);
    }

    void demoAndFirmwareBySizeAndCrc()
    {
        Bench bench;
        bench.window.refresh();
        QCOMPARE(bench.label("lblDemo"), QStringLiteral("(erased)"));
        QCOMPARE(bench.label("lblFirmware"), QStringLiteral("factory image"));
        QCOMPARE(bench.label("lblBalance"), QStringLiteral("128"));
        DisplayFlash flash = bench.display.flash();
        flash.demo = "123456789"; // CRC-16/MODBUS check value 4B37
        flash.demoPages = 1;
        flash.firmware = QByteArray(1024, '\0');
        flash.balance = 90;
        bench.display.setFlash(flash);
        bench.window.refresh();
        QCOMPARE(bench.label("lblDemo"), QStringLiteral("9 bytes, CRC 4B37, 1 pages announced"));
        QCOMPARE(bench.label("lblFirmware"), QStringLiteral("1024 bytes, CRC D4BE"));
        QCOMPARE(bench.label("lblBalance"), QStringLiteral("90"));
        // A live balance from the factory page shows beside the stored one.
        bench.hostWrites(QByteArray::fromHex("1F46620D") + char(200));
        bench.run(100);
        QCOMPARE(bench.label("lblBalance"), QStringLiteral("90 (in use 200)"));
    }

    void restartAfterFAtGoesDarkForHalfASecond()
    {
        Bench bench;
        bench.hostWrites(QByteArray("\x0C") + "** Flash Write OK **" + "**Display Restart **");
        bench.run(100);
        QVERIFY(bench.window.screen()->frame().lit);
        QCOMPARE(bench.window.screenContent(), QByteArray("** Flash Write OK ****Display Restart **"));
        bench.hostWrites(buildFrame({0x1F, "F@"}));
        // Time from the command to dark, length of the dark spell, and what shows afterwards.
        const qint64 sent = bench.pacer.milliseconds();
        qint64 darkFrom = -1, litAgain = -1;
        for (int step = 0; step < 150 && litAgain < 0; ++step) {
            bench.run(10);
            const bool lit = bench.window.screen()->frame().lit;
            QCOMPARE(bench.lampLit(), lit);
            if (!lit && darkFrom < 0)
                darkFrom = bench.pacer.milliseconds();
            if (lit && darkFrom >= 0)
                litAgain = bench.pacer.milliseconds();
        }
        QVERIFY(darkFrom >= 0 && darkFrom - sent <= 20);
        QVERIFY2(litAgain - darkFrom >= 490 && litAgain - darkFrom <= 510,
                 qPrintable(QString::number(litAgain - darkFrom)));
        QCOMPARE(bench.window.screenContent(), QByteArray("  Talvex  VQ-71xx     Customer Display  "));
        QCOMPARE(bench.label("lblState"), QStringLiteral("Listening at 9600,N,8,1"));
    }

    void lampShowsTheAcknowledgementPulse_data()
    {
        QTest::addColumn<double>("pulseWidth");
        QTest::newRow("200 ms, the display's own") << 0.2;
        QTest::newRow("50 ms") << 0.05;
        QTest::newRow("600 ms") << 0.6;
    }
    void lampShowsTheAcknowledgementPulse()
    {
        QFETCH(double, pulseWidth);
        Bench bench;
        SimulatedDisplay::Faults faults;
        faults.pulseWidth = pulseWidth;
        bench.display.setFaults(faults);
        bench.window.refresh();
        QVERIFY(bench.lampLit());
        QCOMPARE(bench.label("lblAcknowledgements"), QStringLiteral("Acknowledgements: 0"));
        bench.hostWrites(QByteArray(20, '\x02')); // the setup request
        int lowPolls = 0;
        for (int step = 0; step < 150; ++step) {
            bench.run(10);
            lowPolls += bench.lampLit() ? 0 : 1;
        }
        QVERIFY2(qAbs(lowPolls * 10 - qRound(pulseWidth * 1000)) <= 10,
                 qPrintable(QString::number(lowPolls)));
        QVERIFY(bench.lampLit());
        QCOMPARE(bench.label("lblAcknowledgements"), QStringLiteral("Acknowledgements: 1"));
        QCOMPARE(bench.label("lblState"), QStringLiteral("Listening at 115200,N,8,1"));
    }

    void powerCycleShowsThePowerOnLines_data()
    {
        QTest::addColumn<bool>("titleStored");
        QTest::addColumn<QByteArray>("lines");
        QTest::newRow("title page") << true << QByteArray("Welcome to   Kestrel  Open 9-18 daily   ");
        QTest::newRow("own lines") << false << QByteArray("  Talvex  VQ-71xx     Customer Display  ");
    }
    void powerCycleShowsThePowerOnLines()
    {
        QFETCH(bool, titleStored);
        QFETCH(QByteArray, lines);
        Bench bench;
        if (titleStored)
            QVERIFY(Presented(bench.dialogs, writeTitlePage(bench.device, QString::fromLatin1(lines.left(20)),
                                                            QString::fromLatin1(lines.mid(20)))));
        bench.run(600);
        bench.hostWrites(QByteArray("\x0C") + "something else");
        bench.run(100);
        QVERIFY(bench.window.screenContent().startsWith("something else"));
        const int restarts = bench.display.restarts();
        QTest::mouseClick(bench.window.findChild<QPushButton*>("cmdPowerCycle"), Qt::LeftButton);
        QCOMPARE(bench.display.restarts(), restarts + 1);
        QVERIFY(!bench.window.screen()->frame().lit);
        QCOMPARE(bench.label("lblState"), QStringLiteral("Restarting..."));
        bench.run(600);
        QVERIFY(bench.window.screen()->frame().lit);
        QCOMPARE(bench.window.screenContent(), lines);
    }

    void faultSwitchesShowTheFailureMessages_data()
    {
        QTest::addColumn<QString>("faultSwitch");
        QTest::addColumn<QString>("message");
        QTest::addColumn<bool>("sendsNothing");
        QTest::newRow("unplugged") << "chkUnplugged"
                                   << "Port Status: Display DSR not ready yet !!" << true;
        QTest::newRow("DSR late") << "chkDsrLate"
                                  << "Port Status: Display DSR not ready yet !!" << true;
        QTest::newRow("does not acknowledge") << "chkNoAcknowledge"
                                              << "Display ack. failed: " << false;
    }
    void faultSwitchesShowTheFailureMessages()
    {
        QFETCH(QString, faultSwitch);
        QFETCH(QString, message);
        QFETCH(bool, sendsNothing);
        Bench bench;
        auto* box = bench.window.findChild<QCheckBox*>(faultSwitch);
        QVERIFY(box);
        QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(6, box->height() / 2));
        QVERIFY(box->isChecked());
        QVERIFY(!Presented(bench.dialogs, writeGeneralParameters(bench.device, GeneralParameters())));
        QCOMPARE(bench.dialogs.messages().size(), 1);
        QVERIFY2(bench.dialogs.messages().first().startsWith(message),
                 qPrintable(bench.dialogs.messages().first()));
        QCOMPARE(bench.display.wire().isEmpty(), sendsNothing);
        QVERIFY(bench.display.flash().generalRecord.isEmpty());
        if (faultSwitch == QLatin1String("chkUnplugged"))
            QVERIFY(!bench.window.screen()->frame().lit);

        // Switched off again and restarted (a display left waiting in its setup state listens at
        // 115200), the same write goes through.
        QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(6, box->height() / 2));
        QVERIFY(!box->isChecked());
        QTest::mouseClick(bench.window.findChild<QPushButton*>("cmdPowerCycle"), Qt::LeftButton);
        bench.run(600);
        bench.dialogs.clear();
        QVERIFY(Presented(bench.dialogs, writeGeneralParameters(bench.device, GeneralParameters())));
        QCOMPARE(bench.dialogs.messages(),
                 QStringList{"Port Status: Flash Write OK !!\r\nDisplay will restart !!"});
        QVERIFY(!bench.display.flash().generalRecord.isEmpty());
    }
};

QTEST_MAIN(SimulatedDisplayWindowTest)
#include "test_simulated_display_window.moc"
