// An open the system refuses: the message keeps its number, and only a port this user may not open
// gets the help line on how to be allowed (both front ends show the outcome's detail).
#include "core/open_failure.h"
#include "protocol/outcome.h"

#include <QTest>

class PortPermissionTest : public QObject
{
    Q_OBJECT

private slots:
    // The system's error and reason, whether the port's node is there, then the box's text; "+help"
    // when the detail tells how to be allowed. (A port that is not there: test_input_checks.)
    void detail_data()
    {
        QTest::addColumn<int>("error");
        QTest::addColumn<QString>("reason");
        QTest::addColumn<PortNode>("node");
        QTest::addColumn<QString>("text");
        const int denied = QSerialPort::PermissionError;
        const QString inUse = "COM Port Already Open( 8005) !!", missing = "COM Port not Exist( 8002) !!";
        QTest::newRow("no right to the node")
            << denied << "Permission denied" << PortNode::NotPermitted << inUse + " +help";
        QTest::newRow("locked by another program")
            << denied << "Permission error while locking the device" << PortNode::Present << inUse;
        QTest::newRow("name too long for the lock file")
            << denied << "Permission error while creating lock file" << PortNode::Missing << missing;
        QTest::newRow("open here already") << int(QSerialPort::OpenError) << "Device is already open"
                                           << PortNode::Present << "COM Port Already Open( 8015) !!";
        QTest::newRow("not a terminal")
            << int(QSerialPort::UnsupportedOperationError) << "Inappropriate ioctl for device"
            << PortNode::Present << "COM Port Open Error( 8010) !!";
    }
    void detail()
    {
        QFETCH(int, error);
        QFETCH(QString, reason);
        QFETCH(PortNode, node);
        QFETCH(QString, text);
        const auto box =
            Outcome::portFailed(openFailureStatus(QSerialPort::SerialPortError(error), reason, node))
                .message();
        QVERIFY(box.has_value());
        QVERIFY(box->detail.startsWith(reason));
        const bool help =
            box->detail.contains("group dialout: sudo usermod -aG dialout $USER, then log in again");
        QCOMPARE(box->title + ": " + box->text + (help ? " +help" : ""), "Port Error: " + text);
    }
};

QTEST_GUILESS_MAIN(PortPermissionTest)
#include "test_port_permission.moc"
