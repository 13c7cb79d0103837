// Profiles: "vfdctl apply" on two simulated displays in virtual time, every key applied in its
// order, every refusal made before anything is sent to any port; and a profile written and read back.
#include "fleet_stations.h"
#include "operations/general_record.h"
#include "operations/provisioning_profile.h"
#include "operations/title_page.h"
#include "window_fixture.h"

#include <QDir>
#include <QLineEdit>
#include <QRegularExpression>

static const QByteArray kDemo = QByteArray::fromHex("55AA5AA5") + QByteArray(600, 'd') + "\r\n";

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
    }

    void applies_data()
    {
        QTest::addColumn<QString>("profile");
        QTest::addColumn<QStringList>("steps"); // in the order told and applied
        QTest::addColumn<QByteArray>("general");
        QTest::addColumn<QByteArray>("title");
        QTest::addColumn<int>("balance"); // the stored one; the live one is always 77
        QTest::newRow("every key")
            << "[firmware]\nfile=fw/FW_VQ7146.wfu\nforce=false\n[general]\ndisplay-baud=19200\n"
               "display-format=E,8,1\ncommand-set=EPSON\ncode-page=PC850\ncharset=Germany\nbrightness=50%\n"
               "[title]\nline1=Hello\nline2=\"  World, \"\n"
               "[demo]\nfile=demo.bin\n[balance]\nvalue=77\nstore=true\n"
            << QStringList{"firmware", "general", "title", "demo", "balance"}
            << generalParameterRecord(
                   generalParametersNamed({"19200", "E,8,1", "EPSON", "PC850", "Germany", "50%"}))
            << titlePageBlock("Hello", "  World, ") << 77;
        QTest::newRow("title file, live balance")
            << "[balance]\nvalue=77\n[title]\nfile=title.txt\n"
            << QStringList{"title", "balance"} << QByteArray() << titlePageBlock("From a", "file") << 128;
    }
    void applies()
    {
        QFETCH(QString, profile);
        QFETCH(QStringList, steps);
        Stations fleet;
        const VfdctlRun run = fleet.run({"--ports", "sim,sim:b", "apply", write("p.ini", profile.toUtf8())});
        QCOMPARE(run.status, 0);
        QCOMPARE(run.err, QString());
        for (const QString port : {"sim", "sim:b"}) {
            QCOMPARE(run.out.split('\n').filter(QRegularExpression("^" + port + ": apply: ")),
                     QStringList(steps).replaceInStrings(QRegularExpression("^"), port + ": apply: "));
            const DisplayFlash flash = fleet.at(port).display.flash();
            QTEST(flash.generalRecord, "general");
            QTEST(flash.titleBlock, "title");
            QTEST(flash.balance, "balance");
            QCOMPARE(fleet.at(port).display.liveBalance(), 77);
            QCOMPARE(flash.firmware.isEmpty(), !steps.contains("firmware"));
            QCOMPARE(flash.demo, steps.contains("demo") ? kDemo.chopped(2) : QByteArray());
        }
    }

    // After a sound section, which may not be sent either. No profile text: the file named last in the
    // error is read instead.
    void refusedBeforeAnythingIsSent_data()
    {
        QTest::addColumn<QString>("profile");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("error");
        const auto row = [](const char* profile, int status, const QString& error) {
            QTest::newRow(qPrintable(error)) << QString(profile) << status << error;
        };
        row("", 2, "cannot read the profile fw"); // a folder
        row("[colour]\nred=1\n", 2, "[colour] red: unknown section or key");
        row("[general]\ndisplay-baud=9601\n", 2,
            "[general] display-baud: takes one of 4800, 9600, 19200, 38400, 115200, not '9601'");
        row("[firmware]\nfile=fw/FW_VQ7146.wfu\nforce=yes\n", 2,
            "[firmware] force: takes true or false, not 'yes'");
        row("[balance]\nvalue=256\n", 2, "[balance] value: takes a number from 0 to 255");
        row("[title]\nline1=123456789012345678901\nline2=\n", 2,
            "[title] line1: holds at most 20 characters");
        row("[title]\nline1=x\nline2=\xe2\x98\x83\n", 2,
            "[title] line2: has a character the display cannot show");
        row("[title]\nline1=a\nline2=b\nfile=title.txt\n", 2,
            "[title] file: takes the place of line1 and line2");
        row("[firmware]\nforce=true\n", 2, "[firmware] file: names no file");
        row("[firmware]\nfile=fw/FW_VQ7146_V2.wfu\n", 1, "File Ststus: ");
        row("[demo]\nfile=bad.bin\n", 1, "File Ststus: Illegal DEMO File!");
        row("[title]\nfile=one-line.txt\n", 1, "File Error: Open File Error !!");
    }
    void refusedBeforeAnythingIsSent()
    {
        QFETCH(QString, profile);
        QFETCH(QString, error);
        const QString path = profile.isEmpty()
                                 ? dir_.filePath(error.section(' ', -1))
                                 : write("p.ini", "[general]\nbrightness=50%\n" + profile.toUtf8());
        Stations fleet;
        const VfdctlRun run = fleet.run({"--ports", "sim,sim:b", "apply", path});
        QTEST(run.status, "status");
        QVERIFY2(run.err.contains(error.section(' ', 0, -2)), qPrintable(run.err));
        QVERIFY(fleet.at("sim").display.writes().isEmpty() && fleet.at("sim:b").display.writes().isEmpty());
    }

    // The window's File menu: what it saves comes back on load (blanks and commas of a title line, an
    // empty line, a file inside the profile's folder and one outside), and loading sends nothing.
    void windowSavesAndLoads()
    {
        const QString path = dir_.filePath("saved/window.ini");
        const QString firmware = dir_.filePath("fw/FW_VQ7146.wfu");
        const QStringList choices{"4800", "E,7,1", "UTCP", "Greek", "Norway", "75%"};
        {
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
        }
        WindowFixture w;
        QVERIFY(w.window->loadProfileFrom(path));
        const ProvisioningProfile loaded = *readProvisioningProfile(path).profile;
        QCOMPARE(loaded.general, choices);
        QCOMPARE(loaded.titleLines, (QStringList{" Fleet, ", ""}));
        QCOMPARE(loaded.firmwareFile, firmware);
        QCOMPARE(w.find<QComboBox>("CmbBrightnessSelect")->currentText(), choices[5]);
        QCOMPARE(w.find<QLineEdit>("Text1_1")->text(), QString(" Fleet, "));
        QCOMPARE(w.find<QLineEdit>("txtDEMOFile")->property("Tag").toString(),
                 dir_.filePath("saved/demo.bin"));
        QVERIFY(w.find<QPushButton>("ComDownLoad")->isEnabled());
        QVERIFY(w.display.writes().isEmpty());
    }
};

QTEST_MAIN(ProfileTest)
#include "test_profile.moc"
