// The simulated display window: the decoded flash after real operations, the screen in the display's
// code page down to its dots, the restart after "F@" and the DSR pulses in virtual time, "Power
// cycle" and "Factory reset", the flash kept for the next run, and the fault switches' failure messages.
#include "setup/gui/simulated_display_window.h"
#include "setup/messages/outcome_box.h"
#include "setup/operations/general_record.h"
#include "setup/operations/parameter_vocabulary.h"
#include "setup/operations/title_page.h"
#include "setup/sim/display_code_page.h"
#include "setup/tests/device_bench.h"
#include "widgets/tests/raster_font.h"
#include "widgets/vfd_glyphs.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>

namespace {

struct WindowBench : Bench
{
    explicit WindowBench(const SimulatedFlashFile* flashFile = nullptr) : window(display, nullptr, flashFile)
    {
    }
    SimulatedDisplayWindow window;

    // The labels' texts as the window shows them now (it refreshes first).
    QString labels(const QStringList& names)
    {
        window.refresh();
        QStringList texts;
        for (const QString& name : names)
            texts << window.findChild<QLabel*>(name)->text();
        return texts.join(" | ");
    }
    bool lampLit() const { return window.findChild<QLabel*>("dsrLamp")->property("lit").toBool(); }
    bool lit() const { return window.screen()->frame().lit; }
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
    void click(const char* name) { QTest::mouseClick(window.findChild<QPushButton*>(name), Qt::LeftButton); }
};

// The dots drawn lit in each cell of a VQ71xx screen showing `bytes`, read back from its picture:
// per cell its seven rows of five, "#" lit, joined by "/" and cells by " ".
QString drawnDots(const QByteArray& bytes, int codePage, bool lit, const QList<int>& cells)
{
    VfdScreenView screen;
    screen.setScreenStyle(vq71xxScreenStyle());
    screen.setFrame(vq71xxScreenFrame(bytes, DisplayCodePage(codePage), 100, lit));
    screen.resize(screen.sizeHint());
    const QImage image = screen.grab().toImage().convertToFormat(QImage::Format_RGB32);
    QStringList out;
    for (int cell : cells) {
        QStringList rows;
        for (int row = 0; row < kGlyphRows; ++row) {
            QString dots;
            for (int column = 0; column < kGlyphColumns; ++column) {
                const QPoint at = screen.dotRect(cell / 20, cell % 20, row, column).center().toPoint();
                dots += qGreen(image.pixel(at)) > 80 ? '#' : '.';
            }
            rows << dots;
        }
        out << rows.join('/');
    }
    return out.join(' ');
}

const QStringList kGeneralLabels{"lblGeneral",  "lblBaudRate", "lblDataFormat", "lblCommandSet",
                                 "lblCodePage", "lblCharset",  "lblBrightness", "lblCodePageNote"};

} // namespace

class SimulatedDisplayWindowTest : public QObject
{
    Q_OBJECT

private slots:
    // Which character a byte of the upper half is for each stored code page, "" for none.
    void codePages_data()
    {
        QTest::addColumn<int>("code");
        QTest::addColumn<int>("byte");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<bool>("drawnAsPC437"); // a code page without a decoder of its own
        const std::tuple<const char*, int, int, const char*, bool> rows[] = {
            {"PC437", 0, 0x9B, "¢", false},
            {"Katakana", 1, 0xB1, "ｱ", false},
            {"Katakana lead byte", 1, 0x81, "", false},
            {"PC858 euro", 19, 0xD5, "€", false},
            {"PC850 dotless i", 2, 0xD5, "ı", false},
            {"PC860", 3, 0x84, "ã", false},
            {"PC863", 4, 0x86, "¶", false},
            {"PC865", 5, 0x9B, "ø", false},
            {"Russian", 7, 0x80, "А", false},
            {"Greek", 12, 0x80, "Α", false},
            {"WPC1257", 65, 0xE0, "ą", false},
            {"WPC1252", 16, 0xE0, "à", false},
            {"WPC1252 undefined", 16, 0x81, "", false},
            {"Slavonic", 6, 0x9B, "¢", true},
            {"ASCII under Katakana", 1, 0x41, "A", false},
            {"a control byte", 0, 0x1B, "", false},
        };
        for (const auto& [name, code, byte, shown, fallback] : rows)
            QTest::newRow(name) << code << byte << QString::fromUtf8(shown) << fallback;
    }
    void codePages()
    {
        QFETCH(int, code);
        QFETCH(int, byte);
        QFETCH(QString, shown);
        QFETCH(bool, drawnAsPC437);
        const DisplayCodePage codePage(code);
        const QChar c = codePage.character(quint8(byte));
        QCOMPARE(c.isNull() ? QString() : QString(c), shown);
        QCOMPARE(codePage.note().contains("drawn as PC437"), drawnAsPC437);
        QCOMPARE(codePage.decoderName() == "IBM437", code == 0 || drawnAsPC437);
    }

    // The dots of "A", "1" and the euro sign in PC858 (the dotless i in PC850) on the glass; none while dark.
    void screenDots()
    {
        if (!rasterFontDraws(U'\u20AC'))
            QSKIP("the euro sign is drawn from DejaVu Sans Mono, which this system does not have");
        QByteArray bytes(40, ' ');
        bytes[0] = 'A';
        bytes[19] = '1';
        bytes[20] = char(0xD5);
        QCOMPARE(
            drawnDots(bytes, 19, true, {0, 19, 20, 21}),
            QString(".###./#...#/#...#/#...#/#####/#...#/#...# ..#../.##../..#../..#../..#../..#../.###. "
                    "..###/.#.../.##../.#.../.##../.#.../..### ...../...../...../...../...../...../....."));
        QCOMPARE(drawnDots(bytes, 2, true, {20}), QString("...../...../.##../..#../..#../..#../#####"));
        QCOMPARE(drawnDots(bytes, 2, false, {0}), QString("...../...../...../...../...../...../....."));
    }

    void flashViewAfterAWrite_data()
    {
        // Chosen: baud | format | command set | code page | charset | brightness.
        QTest::addColumn<QString>("choices");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<int>("brightness");
        const std::tuple<const char*, const char*, const char*, int> rows[] = {
            {"defaults", "9600 | N,8,1 | EPSON | Europe | USA | 100%",
             "stored | 9600 | N,8,1 | EPSON | (not set) | USA | 100% | Code page not set: drawn as PC437", 4},
            {"PC858, 25 %", "19200 | E,8,1 | CD5220 | PC858 | Germany | 25%",
             "stored | 19200 | E,8,1 | CD5220 | PC858 | Germany | 25% | ", 1},
        };
        for (const auto& [name, chosen, shown, brightness] : rows)
            QTest::newRow(name) << QString(chosen) << QString(shown) << brightness;
    }
    void flashViewAfterAWrite()
    {
        QFETCH(QString, choices);
        QFETCH(QString, shown);
        QFETCH(int, brightness);
        WindowBench bench;
        QCOMPARE(bench.labels(kGeneralLabels.mid(0, 2)),
                 QString("erased: the display runs at 9600,N,8,1 | (erased)"));
        QVERIFY(writeGeneralParameters(bench.access, generalParametersNamed(choices.split(" | "))));
        QCOMPARE(bench.labels(kGeneralLabels), shown);
        QCOMPARE(bench.window.screen()->frame().brightness, brightness);
    }

    // The title page's label and the screen in the display's code page: byte D5 is the euro sign in
    // PC858 (which byte is which character in each code page: codePages).
    void titlePageInTheDisplaysCodePage()
    {
        const QString shown = QString::fromUtf8("\"Total        12,50 €\" / \"Danke!              \"");
        WindowBench bench;
        GeneralParameters parameters;
        parameters.codePage = quint8(codePageCode("PC858"));
        QVERIFY(writeGeneralParameters(bench.access, parameters));
        bench.run(600);
        QCOMPARE(bench.labels({"lblTitlePage"}), QString("(erased): the display shows its own lines"));
        QVERIFY(writeTitlePage(bench.access, QString::fromLatin1("Total        12,50 \xD5"), "Danke!"));
        bench.run(600);
        QCOMPARE(bench.labels({"lblTitlePage"}), shown);
        // The screen draws the bytes in the display's code page.
        const VfdGrid& grid = bench.window.screen()->frame().grid;
        QCOMPARE(QStringLiteral("\"%1\" / \"%2\"").arg(grid.rowText(0), grid.rowText(1)), shown);
    }

    void demoFirmwareAndBalance()
    {
        WindowBench bench;
        const QStringList names{"lblDemo", "lblFirmware", "lblBalance"};
        QCOMPARE(bench.labels(names), QString("(erased) | factory image | 128"));
        DisplayFlash flash = bench.display.flash();
        flash.demo = "123456789"; // CRC-16/MODBUS check value 4B37
        flash.demoPages = 1;
        flash.firmware = QByteArray(1024, '\0');
        flash.balance = 90;
        bench.display.setFlash(flash);
        bench.hostWrites(QByteArray::fromHex("1F46620D") + char(200)); // a live balance from the factory page
        bench.run(100);
        QCOMPARE(bench.labels(names),
                 QString("9 bytes, CRC 4B37, 1 pages announced | 1024 bytes, CRC D4BE | 90 (in use 200)"));
    }

    // A second of the window after the host's bytes (none: "Power cycle" pressed), polled every 10 ms:
    // runs of the screen lit or dark with the DSR lamp high or low, then the state, the count of
    // acknowledgements and the screen. (The pulse follows the display's pulse width: test_protocol.)
    void timeline_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("golden");
        const QString restarted =
            "lit+high | Listening at 9600,N,8,1 | Acknowledgements: 0 |   Talvex  VQ-71xx     "
            "Customer Display  ";
        const QString acknowledged =
            "lit+high | Listening at 115200,N,8,1 | Acknowledgements: 1 | something else"
            "                          ";
        QTest::newRow("F@: dark for half a second")
            << QByteArray::fromHex("1F4640") << "lit+high 10 | dark+low 500 | " + restarted;
        QTest::newRow("setup request: the 200 ms pulse")
            << QByteArray(20, '\x02') << "lit+high 50 | lit+low 200 | " + acknowledged;
        QTest::newRow("power cycle") << QByteArray() << "dark+low 500 | " + restarted;
    }
    void timeline()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, golden);
        WindowBench bench;
        bench.hostWrites(QByteArray("\x0C") + "something else");
        bench.run(100);
        if (bytes.isEmpty())
            bench.click("cmdPowerCycle");
        else
            bench.hostWrites(bytes);
        QStringList runs;
        QString last;
        int polls = 0;
        for (int step = 0; step <= 100; ++step) {
            const QString now = QString(bench.lit() ? "lit" : "dark") + (bench.lampLit() ? "+high" : "+low");
            if (now != last && polls > 0)
                runs << QStringLiteral("%1 %2").arg(last).arg(polls * 10);
            polls = now == last ? polls + 1 : 1;
            last = now;
            bench.run(10);
        }
        runs << last << bench.labels({"lblState", "lblAcknowledgements"}) << bench.window.screenContent();
        QCOMPARE(runs.join(" | "), golden);
    }

    // What the display holds goes to its file as soon as the window sees it change: "Power cycle" keeps
    // it, "Factory reset" erases it. The next run of the program restores what the file keeps.
    void powerCycleKeepsTheFlashAndFactoryResetErasesIt()
    {
        QTemporaryDir state;
        const SimulatedFlashFile file(state.path(), "sim");
        WindowBench bench(&file);
        const DisplayFlash flash{{}, {}, "123456789", 1, QByteArray(1024, '\0'), 90};
        bench.display.setFlash(flash);
        bench.click("cmdPowerCycle");
        bench.run(600);
        Bench next;
        QVERIFY(file.restore(next.display).isEmpty() && next.display.flash() == flash);
        bench.click("cmdFactoryReset");
        QCOMPARE(bench.labels({"lblDemo", "lblFirmware", "lblBalance"}),
                 QString("(erased) | factory image | 128"));
        QVERIFY(file.restore(next.display).isEmpty() && next.display.flash() == DisplayFlash());
        QVERIFY(!bench.lit());
    }

    void faultSwitchesShowTheFailureMessages_data()
    {
        QTest::addColumn<QString>("faultSwitch");
        QTest::addColumn<QString>("message");
        const QString notReady = "Port Status: Display DSR not ready yet !!";
        QTest::newRow("unplugged") << "chkUnplugged" << notReady;
        QTest::newRow("DSR late") << "chkDsrLate" << notReady;
        QTest::newRow("does not acknowledge") << "chkNoAcknowledge"
                                              << "Display ack. failed: Process.3( ";
    }
    void faultSwitchesShowTheFailureMessages()
    {
        QFETCH(QString, faultSwitch);
        QFETCH(QString, message);
        WindowBench bench;
        auto* box = bench.window.findChild<QCheckBox*>(faultSwitch);
        QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(6, box->height() / 2));
        showOutcome(bench.dialogs, writeGeneralParameters(bench.access, {}));
        QCOMPARE(bench.dialogs.messages().size(), 1);
        QVERIFY2(bench.dialogs.messages().first().startsWith(message),
                 qPrintable(bench.dialogs.messages().first()));
        QVERIFY(bench.display.flash().generalRecord.isEmpty());
        if (faultSwitch == "chkUnplugged")
            QVERIFY(!bench.lit());
        // Switched off again and power cycled, the same write goes through.
        QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(6, box->height() / 2));
        bench.click("cmdPowerCycle");
        bench.run(600);
        QVERIFY(writeGeneralParameters(bench.access, {}));
    }

    // Opened beside the main window near the right edge of its screen, the window stays whole on it.
    void fitsTheScreen()
    {
        Bench bench;
        QWidget owner;
        owner.setGeometry(0, 0, 577, 500);
        owner.show();
        SimulatedDisplayWindow window(bench.display, &owner);
        window.move(owner.frameGeometry().topRight() + QPoint(12, 0));
        window.show();
        const QRect screen = window.QWidget::screen()->availableGeometry(), frame = window.frameGeometry();
        if (frame.width() > screen.width())
            QSKIP("the window is wider than this screen (Windows' offscreen screen, with its own fonts)");
        QVERIFY2(screen.contains(frame), qPrintable(QStringLiteral("%1,%2 %3x%4 on %5x%6")
                                                        .arg(frame.x())
                                                        .arg(frame.y())
                                                        .arg(frame.width())
                                                        .arg(frame.height())
                                                        .arg(screen.width())
                                                        .arg(screen.height())));
    }
};

QTEST_MAIN(SimulatedDisplayWindowTest)
#include "test_simulated_display_window.moc"
