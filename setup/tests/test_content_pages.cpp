// The "Title Set" and factory pages offscreen: real clicks, typing and slider moves against the
// simulated display, the DEMO file input with scripted dialogs, the DEMO "Write" enabled exactly when
// the chosen file exists, and slider moves coalesced while a cycle runs.
#include "content_bench.h"
#include "operations/title_page.h"
#include "window_fixture.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QSlider>
#include <QTabBar>
#include <QTest>

using namespace content_test;

namespace {

struct Window : WindowFixture
{
    Window() : WindowFixture(2) {}
    QLineEdit* box(const char* name) { return find<QLineEdit>(name); }
    // The positions of the balance records on the wire, in order.
    QList<int> balancesSent() const
    {
        const QByteArray record = QByteArray::fromHex("1F46620D");
        const QByteArray wire = display.wire();
        QList<int> positions;
        for (qsizetype at = wire.indexOf(record); at >= 0; at = wire.indexOf(record, at + 1))
            positions << static_cast<quint8>(wire.at(at + record.size()));
        return positions;
    }
};

} // namespace

class ContentPagesTest : public QObject
{
    Q_OBJECT

private slots:
    void titleFrameStartsWithItsTexts()
    {
        Window w;
        QCOMPARE(w.box("Text1_1")->text(), QString("***  User Define ***"));
        QCOMPARE(w.box("Text2_1")->text(), QString("***  Cover Page  ***"));
        QCOMPARE(w.box("Text1_1")->maxLength(), 20);
        QVERIFY(QFontInfo(w.box("Text1_1")->font()).fixedPitch());
        QCOMPARE(w.find("ComOpenFile_1")->text(), QString("File Input"));
        QCOMPARE(w.find("ComCoverPage_1")->text(), QString("Write"));
        QCOMPARE(w.find("ComCancelCoverPage_0")->text(), QString("Erase"));
        QVERIFY(!w.find("cmbWriteDEMO")->isEnabled()); // no file chosen yet
        QVERIFY(w.find("cmbEraseDEMO")->isEnabled());
    }

    void typedLinesAreWritten()
    {
        Window w;
        w.box("Text1_1")->clear();
        QTest::keyClicks(w.box("Text1_1"), "Welcome to the shop!!"); // 21: the box keeps 20
        w.box("Text2_1")->clear();
        QVERIFY(w.clickAndWait("ComCoverPage_1"));
        const QByteArray block = titlePageBlock("Welcome to the shop!", "");
        QCOMPARE(w.display.flash().titleBlock, block);
        QVERIFY(w.display.wire().startsWith(QByteArray("\x0C") + kSetupRequest));
        QCOMPARE(w.dialogs.messages(), QStringList{kWriteOkBox});
        QVERIFY(w.find("ComCoverPage_1")->isEnabled());
    }

    void eraseButtonErasesTheTitle()
    {
        Window w;
        QVERIFY(w.clickAndWait("ComCoverPage_1"));
        QVERIFY(!w.display.flash().titleBlock.isEmpty());
        w.dialogs.clear();
        QVERIFY(w.clickAndWait("ComCancelCoverPage_0"));
        QVERIFY(w.display.flash().titleBlock.isEmpty());
        QCOMPARE(w.dialogs.messages(),
                 QStringList{"Port Status: Flash Erase OK !!\r\nDisplay will restart !!"});
    }

    void demoFileInputAndWrite()
    {
        Window w;
        const QByteArray content = DemoBytes(1000);
        const QString path = w.file("shop.dem", content);
        w.dialogs.scriptFile(path);
        QTest::mouseClick(w.find("Command1"), Qt::LeftButton);
        QCOMPARE(w.box("txtDEMOFile")->text(), QString("shop.dem"));
        QCOMPARE(w.box("txtDEMOFile")->property("Tag").toString(), path);
        QVERIFY(w.dialogs.messages().isEmpty());
        QVERIFY(w.find("cmbWriteDEMO")->isEnabled());

        QVERIFY(w.clickAndWait("cmbWriteDEMO"));
        QCOMPARE(w.display.flash().demo, content.left(998));
        QCOMPARE(w.dialogs.messages(), QStringList{kWriteOkBox});
        QVERIFY(w.find("cmbWriteDEMO")->isEnabled());
    }

    void rejectedDemoFileEmptiesTheBox_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("message");
        QTest::newRow("three bytes") << QByteArray::fromHex("55AA5A") << "File Ststus: InValid File!";
        QTest::newRow("not a DEMO") << QByteArray::fromHex("4D5A900003000000")
                                    << "File Ststus: Illegal DEMO File!";
    }
    void rejectedDemoFileEmptiesTheBox()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, message);
        Window w;
        w.dialogs.scriptFile(w.file("good.dem", DemoBytes(100)));
        QTest::mouseClick(w.find("Command1"), Qt::LeftButton);
        QVERIFY(w.find("cmbWriteDEMO")->isEnabled());

        const QString bad = w.file("bad.dem", content);
        w.dialogs.scriptFile(bad);
        QTest::mouseClick(w.find("Command1"), Qt::LeftButton);
        QVERIFY(w.box("txtDEMOFile")->text().isEmpty());
        QCOMPARE(w.box("txtDEMOFile")->property("Tag").toString(), bad);
        QVERIFY(!w.find("cmbWriteDEMO")->isEnabled());
        QCOMPARE(w.dialogs.messages(), QStringList{message});
    }

    void cancelledDialogTriesTheLastNameAgain()
    {
        Window w;
        QTest::mouseClick(w.find("Command1"), Qt::LeftButton); // cancelled, no name ever chosen
        QCOMPARE(w.dialogs.messages(), QStringList{"File Ststus: InValid File!"});
        const QString path = w.file("shop.dem", DemoBytes(100));
        w.dialogs.scriptFile(path);
        QTest::mouseClick(w.find("Command1"), Qt::LeftButton);
        w.dialogs.clear();
        QTest::mouseClick(w.find("Command1"), Qt::LeftButton); // cancelled: shop.dem again
        QVERIFY(w.dialogs.messages().isEmpty());
        QCOMPARE(w.box("txtDEMOFile")->text(), QString("shop.dem"));
        QVERIFY(w.find("cmbWriteDEMO")->isEnabled());
    }

    void demoEraseButton()
    {
        Window w;
        QVERIFY(w.clickAndWait("cmbEraseDEMO"));
        QCOMPARE(w.display.writes().at(0).bytes, QByteArray::fromHex("1F46521F464D00000000"));
        QCOMPARE(w.dialogs.messages(), QStringList{kWriteOkBox});
    }

    void factoryPageIsReachedOnlyDeliberately()
    {
        Window w;
        auto* frame = w.window->findChild<QWidget*>("Frame4");
        QVERIFY(frame && !frame->isVisible());
        for (int tab = 0; tab < 3; ++tab) {
            w.find<QTabBar>("tabMain")->setCurrentIndex(tab);
            QVERIFY(!frame->isVisible());
        }
        w.window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w.window.get()));
        QTest::keyClick(w.window.get(), Qt::Key_F, Qt::ControlModifier | Qt::ShiftModifier);
        QVERIFY(frame->isVisible());
        QCOMPARE(w.find<QLabel>("Label4")->text(),
                 QString::fromUtf8("PS: 此調整需在 Epson           指令下設定。"));
        QCOMPARE(w.find<QLabel>("Label9")->text(), QString("Balance"));
        QCOMPARE(w.find<QSlider>("Slider1")->minimum(), 0);
        QCOMPARE(w.find<QSlider>("Slider1")->maximum(), 255);
    }

    void sliderMoveSendsThePosition()
    {
        Window w;
        w.window->showFactoryPage();
        auto* slider = w.find<QSlider>("Slider1");
        QSignalSpy done(&w.window->runner(), &OperationRunner::operationFinished);
        slider->setFocus();
        QTest::keyClick(slider, Qt::Key_Home);
        QVERIFY(done.wait(10000));
        QCOMPARE(w.display.wire(), QByteArray(40, '0') + QByteArray::fromHex("1F46620D00"));
        QCOMPARE(w.display.liveBalance(), 0);
        QVERIFY(!w.display.isOpen());
    }

    void sliderMovesDuringACycleAreCoalesced()
    {
        Window w;
        w.window->showFactoryPage();
        auto* slider = w.find<QSlider>("Slider1");
        QSignalSpy done(&w.window->runner(), &OperationRunner::operationFinished);
        slider->setValue(10); // starts a cycle; the runner stays busy until the event loop runs
        QVERIFY(w.window->runner().busy());
        slider->setValue(20);
        slider->setValue(30);
        slider->setValue(40);
        QTRY_COMPARE_WITH_TIMEOUT(done.count(), 2, 10000);
        QTest::qWait(50); // no third cycle follows
        QCOMPARE(done.count(), 2);
        QCOMPARE(w.balancesSent(), (QList<int>{10, 40}));
        QCOMPARE(w.display.liveBalance(), 40);
        QVERIFY(slider->isEnabled());
    }

    void factoryWriteStoresTheBalance()
    {
        Window w;
        w.window->showFactoryPage();
        QSignalSpy done(&w.window->runner(), &OperationRunner::operationFinished);
        w.find<QSlider>("Slider1")->setValue(99);
        QVERIFY(done.wait(10000));
        QVERIFY(w.clickAndWait("ComFatWrtie"));
        QCOMPARE(w.display.flash().balance, 99);
        QCOMPARE(w.dialogs.messages(), QStringList{kWriteOkBox});
        QVERIFY(w.find("ComFatWrtie")->isEnabled());
    }
};

QTEST_MAIN(ContentPagesTest)
#include "test_content_pages.moc"
