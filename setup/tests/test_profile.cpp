// Profiles: "vfdctl apply" on two simulated displays in virtual time, every key applied in its
// order, every refusal made before anything is sent to any port; and a profile written and read back.
#include "fleet_stations.h"
#include "operations/general_record.h"
#include "operations/provisioning_profile.h"
#include "operations/title_page.h"
#include "window_fixture.h"

#include <QComboBox>
#include <QLineEdit>

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QByteArray kImage = imageBytes(1500);
const QByteArray kDemo = QByteArray::fromHex("55AA5AA5") + QByteArray(600, 'd') + "\r\n";

} // namespace

class ProfileTest : public QObject
{
    Q_OBJECT

    QTemporaryDir dir_;

    QString write(const QString& name, const QByteArray& bytes)
    {
        const QString path = dir_.filePath(name);
        QDir().mkpath(QFileInfo(path).path());
        return writeFile(path, bytes) ? path : QString();
    }

private slots:
    void initTestCase()
    {
        write("fw/FW_VQ7146.wfu", wfuFile(kImage));
        write("demo.bin", kDemo);
        write("bad.bin", "DEMO");
        write("title.txt", "From a\nfile\n");
        write("one-line.txt", "only one\n");
    }

    void applies_data()
    {
        QTest::addColumn<QString>("profile");
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QByteArray>("general");
        QTest::addColumn<QByteArray>("title");
        QTest::addColumn<int>("balance"); // the stored one
        QTest::newRow("every key")
            << "[firmware]\nfile=fw/FW_VQ7146.wfu\nforce=false\n"
               "[general]\ndisplay-baud=19200\ndisplay-format=E,8,1\ncommand-set=EPSON\ncode-page=PC850\n"
               "charset=Germany\nbrightness=50%\n"
               "[title]\nline1=Hello\nline2=\"  World, "
               "\"\n[demo]\nfile=demo.bin\n[balance]\nvalue=77\nstore=true\n"
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
        QFETCH(QByteArray, general);
        QFETCH(QByteArray, title);
        QFETCH(int, balance);
        Stations fleet;
        const VfdctlRun run = fleet.run({"--ports", "sim,sim:b", "apply",
                                         write(QTest::currentDataTag() + QString(".ini"), profile.toUtf8())});
        QCOMPARE(run.status, 0);
        QCOMPARE(run.err, QString());
        for (const QString port : {"sim", "sim:b"}) {
            QStringList told; // the steps in their order
            for (const QString& step : steps)
                told << port + ": apply: " + step;
            QCOMPARE(run.out.split('\n').filter(QRegularExpression("^" + port + ": apply: ")), told);
            const DisplayFlash flash = fleet.at(port).display.flash();
            QCOMPARE(flash.generalRecord, general);
            QCOMPARE(flash.titleBlock, title);
            QCOMPARE(flash.balance, balance);
            QCOMPARE(fleet.at(port).display.liveBalance(), 77);
            QCOMPARE(flash.firmware.isEmpty(), !steps.contains("firmware"));
            QCOMPARE(flash.demo, steps.contains("demo") ? kDemo.chopped(2) : QByteArray());
        }
    }

    void refusedBeforeAnythingIsSent_data()
    {
        QTest::addColumn<QString>("profile"); // empty: the file named in `error` is read instead
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("error");
        QTest::newRow("missing profile") << "" << 2 << "cannot read the profile nothere.ini";
        QTest::newRow("profile is a folder") << "" << 2 << "cannot read the profile fw";
        QTest::newRow("unknown section") << "[colour]\nred=1\n"
                                         << 2 << "[colour] red: unknown section or key";
        QTest::newRow("unknown key") << "[title]\nline3=x\n" << 2 << "[title] line3: unknown section or key";
        QTest::newRow("bad list value")
            << "[general]\ndisplay-baud=9601\n"
            << 2
            << "[general] display-baud: takes one of 4800, 9600, 19200, 38400, 115200, "
               "not '9601'";
        QTest::newRow("bad flag") << "[firmware]\nfile=fw/FW_VQ7146.wfu\nforce=yes\n"
                                  << 2 << "[firmware] force: takes true or false, not 'yes'";
        QTest::newRow("balance out of range") << "[balance]\nvalue=256\n"
                                              << 2 << "[balance] value: takes a number from 0 to 255";
        QTest::newRow("title line too long") << "[title]\nline1=123456789012345678901\nline2=\n"
                                             << 2 << "[title] line1: holds at most 20 characters";
        QTest::newRow("title character") << "[title]\nline1=x\nline2=\xe2\x98\x83\n"
                                         << 2 << "[title] line2: has a character the display cannot show";
        QTest::newRow("title lines and file") << "[title]\nline1=a\nline2=b\nfile=title.txt\n"
                                              << 2 << "[title] file: takes the place of line1 and line2";
        QTest::newRow("firmware without file") << "[firmware]\nforce=true\n"
                                               << 2 << "[firmware] file: names no file";
        QTest::newRow("firmware missing") << "[firmware]\nfile=fw/FW_VQ7146_V2.wfu\n" << 1 << "File Ststus: ";
        QTest::newRow("DEMO illegal") << "[demo]\nfile=bad.bin\n" << 1 << "File Ststus: Illegal DEMO File!";
        QTest::newRow("title file short") << "[title]\nfile=one-line.txt\n"
                                          << 1 << "File Error: Open File Error !!";
    }
    void refusedBeforeAnythingIsSent()
    {
        QFETCH(QString, profile);
        QFETCH(int, status);
        QFETCH(QString, error);
        // A sound section first: nothing of it may be sent either.
        const QString path = profile.isEmpty() ? dir_.filePath(error.section(' ', -1))
                                               : write(QTest::currentDataTag() + QString(".ini"),
                                                       "[general]\nbrightness=50%\n" + profile.toUtf8());
        Stations fleet;
        const VfdctlRun run = fleet.run({"--ports", "sim,sim:b", "apply", path});
        QCOMPARE(run.status, status);
        QVERIFY2(run.err.contains(error.section(' ', 0, -2)), qPrintable(run.err));
        QVERIFY(fleet.at("sim").display.writes().isEmpty());
        QVERIFY(fleet.at("sim:b").display.writes().isEmpty());
    }

    void savedProfileReadsBack()
    {
        ProvisioningProfile profile;
        profile.general = QStringList{"38400", "N,7,1", "CD5220", "Katakana", "Japan", "25%"};
        profile.titleLines = QStringList{" Welcome, ", ""};
        profile.demoFile = dir_.filePath("demo.bin");
        profile.firmwareFile = QDir::cleanPath(dir_.path() + "/../elsewhere/FW_VQ7152.wfu"); // stays absolute
        const QString path = dir_.filePath("saved/p.ini");
        QDir().mkpath(dir_.filePath("saved"));
        QVERIFY(writeProvisioningProfile(path, profile));
        const ProfileReading read = readProvisioningProfile(path);
        QCOMPARE(read.error, QString());
        QVERIFY(read.profile == profile);
    }

    // The window's File menu: what it saves comes back on load, and loading sends nothing.
    void windowSavesAndLoads()
    {
        const QString path = dir_.filePath("window.ini");
        const QStringList choices{"4800", "E,7,1", "UTCP", "Greek", "Norway", "75%"};
        {
            WindowFixture w;
            const char* lists[] = {"CmbBaudRateSelect", "CmbComFormatSelect", "CmbCommandSelect",
                                   "CmbCodePageSelect", "CmbICSSelect",       "CmbBrightnessSelect"};
            for (int i = 0; i < 6; ++i)
                w.find<QComboBox>(lists[i])->setCurrentText(choices[i]);
            w.find<QLineEdit>("Text1_1")->setText("Fleet");
            w.showTab(1);
            w.choose("ComOpenFile_0", dir_.filePath("fw/FW_VQ7146.wfu"));
            w.showTab(2);
            w.choose("Command1", dir_.filePath("demo.bin"));
            QVERIFY(w.window->saveProfileTo(path));
        }
        WindowFixture w;
        QVERIFY(w.window->loadProfileFrom(path));
        const ProvisioningProfile loaded = *readProvisioningProfile(path).profile;
        QCOMPARE(loaded.general, choices);
        QCOMPARE(loaded.titleLines, (QStringList{"Fleet", "***  Cover Page  ***"}));
        QCOMPARE(w.find<QComboBox>("CmbBrightnessSelect")->currentText(), choices[5]);
        QCOMPARE(w.find<QLineEdit>("Text1_1")->text(), QString("Fleet"));
        QCOMPARE(w.find<QLineEdit>("txtDEMOFile")->property("Tag").toString(), dir_.filePath("demo.bin"));
        QVERIFY(w.find<QPushButton>("ComDownLoad")->isEnabled());
        QVERIFY(w.display.writes().isEmpty());
    }
};

QTEST_MAIN(ProfileTest)
#include "test_profile.moc"
