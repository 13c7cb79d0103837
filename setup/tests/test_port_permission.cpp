// An open the system refuses: the failure keeps its number, and only a port this user may not open
// gets the help line on how to be allowed (both front ends show the reason as the box's detail; the
// box of each number: test_protocol).
#include "core/open_failure.h"

#include <QTest>

class PortPermissionTest : public QObject
{
    Q_OBJECT

private slots:
    // The system's error and reason, whether the port's node is there, then the number; "+help" when
    // the reason tells how to be allowed. (A port that is not there: test_input_checks.)
    void detail_data()
    {
        QTest::addColumn<int>("error");
        QTest::addColumn<QString>("reason");
        QTest::addColumn<PortNode>("node");
        QTest::addColumn<QString>("number");
        const int denied = QSerialPort::PermissionError;
        QTest::newRow("no right to the node")
            << denied << "Permission denied" << PortNode::NotPermitted << "8005 +help";
        QTest::newRow("locked by another program")
            << denied << "Permission error while locking the device" << PortNode::Present << "8005";
        QTest::newRow("name too long for the lock file")
            << denied << "Permission error while creating lock file" << PortNode::Missing << "8002";
        QTest::newRow("open here already")
            << int(QSerialPort::OpenError) << "Device is already open" << PortNode::Present << "8015";
        QTest::newRow("not a terminal") << int(QSerialPort::UnsupportedOperationError)
                                        << "Inappropriate ioctl for device" << PortNode::Present << "8010";
    }
    void detail()
    {
        QFETCH(int, error);
        QFETCH(QString, reason);
        QFETCH(PortNode, node);
        QFETCH(QString, number);
        const LinkStatus status = openFailureStatus(QSerialPort::SerialPortError(error), reason, node);
        QVERIFY(status.reason.startsWith(reason));
        const bool help =
            status.reason.contains("group dialout: sudo usermod -aG dialout $USER, then log in again");
        QCOMPARE(QString::number(status.number) + (help ? " +help" : ""), number);
    }
};

QTEST_GUILESS_MAIN(PortPermissionTest)
#include "test_port_permission.moc"
