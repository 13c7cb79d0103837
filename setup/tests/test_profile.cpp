// Profiles: "vfdctl apply" on two simulated displays in virtual time, every key applied in its
// order, and the window's Write buttons sending the same after File → Load profile…; every refusal
// made before anything is sent to any port, and said by the window's box too; a profile written and
// read back.
#include "setup/operations/general_record.h"
#include "setup/operations/provisioning_profile.h"
#include "setup/operations/title_page.h"
#include "setup/tests/fleet_stations.h"
#include "setup/tests/window_fixture.h"

#include <QDir>
#include <QLineEdit>
#include <QRegularExpression>
#include <tuple>

static const QByteArray kDemo = QByteArray::fromHex("55AA5AA5") + QByteArray(600, 'd') + "\r\n";

// Picks the window's "Text encoding" as the person does; nothing for the default.
static void chooseEncoding(WindowFixture& w, const QString& encoding)
{
    if (encoding.isEmpty())
        return;
    auto* list = w.find<QComboBox>("CmbTextEncoding");
    list->setCurrentText(encoding);
    emit list->activated(list->currentIndex());
}

class ProfileTest : public QObject
{
    Q_OBJECT

    QTemporaryDir dir_;

    QString write(const QString& name, const QByteArray& bytes)
    {
        QDir().mkpath(QFileInfo(dir_.filePath(name)).path());
        return writeFile(dir_.filePath(name), bytes) ? dir_.filePath(name) : QString();
    }

private slots:
    void initTestCase()
    {
        write("fw/FW_VQ7146.wfu", wfuFile(imageBytes(1500)));
        write("demo.bin", kDemo);
        write("saved/demo.bin", kDemo);
        write("bad.bin", "DEMO");
        write("title.txt", "From a\nfile\n");
        write("one-line.txt", "only one\n");
        write("ru.txt", QByteArray::fromHex("8fe0a8a2a5e20a8ca8e00a")); // "Привет", "Мир" in IBM866
        write("ru-utf8.txt", "Привет\nМир\n");
        write("big5.txt", "ab\xA4\ncd\n");
        write("empty.ini", "; nothing but a comment\n");
        write("large.ini", "[general]\nbrightness=50%\n" + QByteArray(4 << 20, ';'));
        write("two-marks.ini", "\xef\xbb\xbf\xef\xbb\xbf[title]\nline1=a\n"); // QSettings skips one mark
        write("key-first.ini", "brightness=50%\n[general]\ncode-page=PC850\n");
    }

    void applies_data()
    {
        QTest::addColumn<QString>("encoding"); // --encoding, and the window's "Text encoding"
        QTest::addColumn<QString>("profile");
        QTest::addColumn<QStringList>("steps"); // in the order told and applied
        QTest::addColumn<QByteArray>("general");
        QTest::addColumn<QByteArray>("title");
        QTest::addColumn<int>("balance"); // the stored one; the live one is always 77
        const auto ibm866 = WireEncoding::fromName("IBM866").value();
        QTest::newRow("every key")
            << ""
            << "[firmware]\nfile=fw/FW_VQ7146.wfu\nforce=false\n[general]\ndisplay-baud=19200\n"
               "display-format=E,8,1\ncommand-set=CD5220\ncode-page=PC850\ncharset=Germany\nbrightness=50%\n"
               "[title]\nline1=Hello\nline2=\"  World, \"\n"
               "[demo]\nfile=demo.bin\n[balance]\nvalue=77\nstore=true\n"
            << QStringList{"firmware", "general", "title", "demo", "balance"}
            << generalParameterRecord(
                   generalParametersNamed({"19200", "E,8,1", "CD5220", "PC850", "Germany", "50%"}))
            << titlePageBlock("Hello", "  World, ") << 77;
        QTest::newRow("title file, live balance")
            << ""
            << "[balance]\nvalue=77\n[title]\nfile=title.txt\n"
            << QStringList{"title", "balance"} << QByteArray() << titlePageBlock("From a", "file") << 128;
        QTest::newRow("title file in IBM866") << "IBM866"
                                              << "[title]\nfile=ru.txt\n[balance]\nvalue=77\n"
                                              << QStringList{"title", "balance"} << QByteArray()
                                              << titlePageBlock("Привет", "Мир", ibm866) << 128;
        // No encoding named: the code page's own, in both programs ("é" 0x82, "ü" 0x81 in PC850).
        QTest::newRow("a code page's own encoding")
            << ""
            << "[general]\ncode-page=PC850\n[title]\nline1=Café Müller\nline2=x\n[balance]\nvalue=77\n"
            << QStringList{"general", "title", "balance"}
            << generalParameterRecord(
                   generalParametersNamed({"9600", "N,8,1", "EPSON", "PC850", "USA", "100%"}))
            << titlePageBlock("Café Müller", "x", WireEncoding::fromName("IBM850").value()) << 128;
        QTest::newRow("Cyrillic lines for a Russian display")
            << "IBM866"
            << "[general]\ncode-page=Russian\n[title]\nline1=Добро\nline2=пожаловать\n"
               "[balance]\nvalue=77\n"
            << QStringList{"general", "title", "balance"}
            << generalParameterRecord(
                   generalParametersNamed({"9600", "N,8,1", "EPSON", "Russian", "USA", "100%"}))
            << titlePageBlock("Добро", "пожаловать", ibm866) << 128;
    }
    void applies()
    {
        QFETCH(QString, encoding);
        QFETCH(QString, profile);
        QFETCH(QStringList, steps);
        const QString path = write("p.ini", profile.toUtf8());
        const QStringList global = encoding.isEmpty() ? QStringList() : QStringList{"--encoding", encoding};
        Stations fleet;
        const VfdctlRun run = fleet.run(global + QStringList{"--ports", "sim,sim:b", "apply", path});
        QCOMPARE(run.status, 0);
        QCOMPARE(run.err, QString());
        for (const QString port : {"sim", "sim:b"}) {
            QCOMPARE(run.out.split('\n').filter(QRegularExpression("^" + port + ": apply: ")),
                     QStringList(steps).replaceInStrings(QRegularExpression("^"), port + ": apply: "));
            QTEST(fleet.at(port).display.flash().balance, "balance");
            QCOMPARE(fleet.at(port).display.liveBalance(), 77);
        }
        // What the window shows after loading is what its Write buttons send (general last: the
        // display then listens at its new rate).
        WindowFixture w;
        chooseEncoding(w, encoding);
        QVERIFY(w.window->loadProfileFrom(path));
        QVERIFY(w.display.writes().isEmpty());
        const std::tuple<const char*, int, const char*> writes[] = {{"firmware", 1, "ComDownLoad"},
                                                                    {"title", 2, "ComCoverPage_1"},
                                                                    {"demo", 2, "cmbWriteDEMO"},
                                                                    {"general", 0, "ComRegTalvex"}};
        for (const auto& [step, tab, button] : writes) {
            w.showTab(tab);
            QVERIFY(!steps.contains(step) || w.clickAndWait(button));
        }
        for (const SimulatedDisplay* display :
             {&fleet.at("sim").display, &fleet.at("sim:b").display, &w.display}) {
            const DisplayFlash flash = display->flash();
            QTEST(flash.generalRecord, "general");
            QTEST(flash.titleBlock, "title");
            QCOMPARE(flash.firmware.isEmpty(), !steps.contains("firmware"));
            QCOMPARE(flash.demo, steps.contains("demo") ? kDemo.chopped(2) : QByteArray());
        }
    }

    // After a sound section, which may not be sent either; "@name" applies a file of its own. The
    // window's File → Load profile… says the same in its box (a profile refused: "Profile"), except
    // for title lines, which its Write refuses as it would typed ones.
    void refusedBeforeAnythingIsSent_data()
    {
        QTest::addColumn<QString>("encoding");
        QTest::addColumn<QByteArray>("profile");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("error");
        const auto row = [](const QByteArray& profile, int status, const QString& error,
                            const QString& encoding = {}) {
            QTest::newRow(qPrintable(error.left(60))) << encoding << profile << status << error;
        };
        row("@fw", 2, "Is a directory"); // a folder
        row("@empty.ini", 2,
            "empty.ini holds none of the sections [firmware], [general], [title], [demo] or [balance]");
        row("@large.ini", 2, "large.ini is larger than a profile can be (4 MB)"); // not read whole
        row("this is not ini\n", 2, "line 3: neither [section] nor key=value: 'this is not ini'");
        row("[general]\ncharset=UK\n", 2, "line 3: a second [general] section (the first is on line 1)");
        row("brightness=75%\n", 2, "line 3: [general] brightness again (the first is on line 2)");
        row("[demo]\n", 2, "line 3: the section [demo] is empty");
        // QSettings would read on into the next line.
        row("[title]\nline1=\"a\nline2=b\n", 2, "line 4: a double quote is left open");
        row("[title]\nline1=a\\\nline2=b\n", 2,
            "line 4: ends in a backslash, which would join the next line to it");
        row("\v[demo]\nfile=demo.bin\n", 2, "line 3: neither [section] nor key=value: '<U+000B>[demo]'");
        row("@two-marks.ini", 2, "line 1: neither [section] nor key=value: '<U+FEFF>[title]'");
        // Keys and sections it does not know: never passed over, whatever else the file holds.
        row("[colour]\nred=1\n", 2, "line 3: unknown section '[colour]'");
        row("[Title]\nline1=a\nline2=b\n", 2, "line 3: unknown section '[Title]'");
        row("[]\nline1=a\n", 2, "line 3: unknown section '[]'");
        row("colour=red\n", 2, "line 3: [general] has no key 'colour'");
        row("[title]\nline1=a\nline2=b\ncolour=red\n", 2, "line 6: [title] has no key 'colour'");
        row("[title]\nLine1=a\nline2=b\n", 2, "line 4: [title] has no key 'Line1'");
        row("[demo]\nforce=true\nfile=demo.bin\n", 2, "line 4: [demo] has no key 'force'");
        row("@key-first.ini", 2, "line 1: key=value before the first [section]");
        row("[GENERAL]\ncharset=UK\n", 2, "line 3: a second [general] section (the first is on line 1)");
        row("display-baud=9601\n", 2,
            "[general] display-baud: takes one of 4800, 9600, 19200, 38400, 115200, not '9601'");
        row("[firmware]\nfile=fw/FW_VQ7146.wfu\nforce=yes\n", 2,
            "[firmware] force: takes true or false, not 'yes'");
        row("[balance]\nstore=\x01" + QByteArray(2 << 20, 'y') + "\n", 2,
            "[balance] store: takes true or false, not '<U+0001>" + QString(39, 'y') + "…'");
        row("[balance]\nvalue=256\n", 2, "[balance] value: takes a number from 0 to 255");
        row("[title]\nline1=123456789012345678901\nline2=\n", 2,
            "[title] line1: holds at most 20 characters");
        row("[title]\nline1=x\nline2=\xe2\x98\x83\n", 2,
            "[title] line2: The character \"\xe2\x98\x83\" (U+2603) cannot be shown on the display");
        row("[title]\nline1=a\nline2=b\nfile=title.txt\n", 2,
            "[title] file: takes the place of line1 and line2");
        row("[firmware]\nforce=true\n", 2, "[firmware] file: names no file");
        row("[firmware]\nfile=fw/FW_VQ7146_V2.wfu\n", 1,
            "Open File Error !!"); // the window says "File Ststus: "
        row("[demo]\nfile=bad.bin\n", 1, "File Ststus: Illegal DEMO File!");
        row("[title]\nfile=one-line.txt\n", 1, "File Error: Open File Error !!");
        row("[title]\nfile=big5.txt\n", 1,
            "File Error: \"big5.txt\" is neither UTF-8 text nor text in the text encoding Big5.", "Big5");
        row("[title]\nfile=ru-utf8.txt\n", 1, "Title Page: The character \"П\" (U+041F) cannot be shown");
    }
    void refusedBeforeAnythingIsSent()
    {
        QFETCH(QString, encoding);
        QFETCH(QByteArray, profile);
        QFETCH(int, status);
        QFETCH(QString, error);
        const QString path = profile.startsWith('@')
                                 ? dir_.filePath(profile.mid(1))
                                 : write("p.ini", "[general]\nbrightness=50%\n" + profile);
        const QStringList global = encoding.isEmpty() ? QStringList() : QStringList{"--encoding", encoding};
        Stations fleet;
        const VfdctlRun run = fleet.run(global + QStringList{"--ports", "sim,sim:b", "apply", path});
        QTEST(run.status, "status");
        QVERIFY2(run.err.contains(error) && run.err.size() < 300, qPrintable(run.err.left(300)));
        QVERIFY(fleet.at("sim").display.writes().isEmpty() && fleet.at("sim:b").display.writes().isEmpty());
        WindowFixture w;
        chooseEncoding(w, encoding);
        QCOMPARE(w.window->loadProfileFrom(path), status != 2);
        const QString box = w.boxes.messages().join('\n');
        QVERIFY2(box.isEmpty() ? error.startsWith("Title Page: ")
                               : box.contains(error) && box.startsWith(status == 2 ? "Profile: " : ""),
                 qPrintable(box.left(300)));
    }

    // The window's File → Save profile…: what it saves reads back (blanks and commas of a title line,
    // an empty line, a file inside the profile's folder and one outside).
    void windowSaves()
    {
        const QString path = dir_.filePath("saved/window.ini");
        const QString firmware = dir_.filePath("fw/FW_VQ7146.wfu");
        const QStringList choices{"4800", "E,7,1", "UTCP", "Greek", "Norway", "75%"};
        WindowFixture w;
        int i = 0;
        for (const char* list : {"CmbBaudRateSelect", "CmbComFormatSelect", "CmbCommandSelect",
                                 "CmbCodePageSelect", "CmbICSSelect", "CmbBrightnessSelect"})
            w.find<QComboBox>(list)->setCurrentText(choices[i++]);
        w.find<QLineEdit>("Text1_1")->setText(" Fleet, ");
        w.find<QLineEdit>("Text2_1")->clear();
        w.showTab(1);
        w.choose("ComOpenFile_0", firmware);
        w.showTab(2);
        w.choose("Command1", dir_.filePath("saved/demo.bin"));
        QVERIFY(w.window->saveProfileTo(path));
        const ProvisioningProfile saved = *readProvisioningProfile(path, WireEncoding()).profile;
        QCOMPARE(saved.general, choices);
        QCOMPARE(saved.titleLines, (QStringList{" Fleet, ", ""}));
        QCOMPARE(saved.demoFile, dir_.filePath("saved/demo.bin"));
        QCOMPARE(saved.firmwareFile, firmware);
    }
};

QTEST_MAIN(ProfileTest)
#include "test_profile.moc"
