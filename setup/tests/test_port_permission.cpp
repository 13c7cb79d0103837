// An open the system refuses: what failed, and only a port this user may not open gets the help line on
// how to be allowed (both front ends show the reason as the box's detail; the box of each failure:
// test_protocol).
#include "core/open_failure.h"

#include <QTest>

class PortPermissionTest : public QObject
{
    Q_OBJECT

private slots:
    // The system's error and reason, whether the port's node is there, then what failed; the reason tells
    // how to be allowed where access is denied. (A port that is not there: test_input_checks.)
    void detail_data()
    {
        QTest::addColumn<int>("error");
        QTest::addColumn<QString>("reason");
        QTest::addColumn<PortNode>("node");
        QTest::addColumn<LinkFailure>("what");
        const int denied = QSerialPort::PermissionError;
        QTest::newRow("no right to the node")
            << denied << "Permission denied" << PortNode::NotPermitted << LinkFailure::AccessDenied;
        QTest::newRow("locked by another program") << denied << "Permission error while locking the device"
                                                   << PortNode::Present << LinkFailure::PortBusy;
        QTest::newRow("name too long for the lock file")
            << denied << "Permission error while creating lock file" << PortNode::Missing
            << LinkFailure::PortMissing;
        QTest::newRow("open here already") << int(QSerialPort::OpenError) << "Device is already open"
                                           << PortNode::Present << LinkFailure::PortOpenHere;
        QTest::newRow("not a terminal")
            << int(QSerialPort::UnsupportedOperationError) << "Inappropriate ioctl for device"
            << PortNode::Present << LinkFailure::OpenFailed;
    }
    void detail()
    {
        QFETCH(int, error);
        QFETCH(QString, reason);
        QFETCH(PortNode, node);
        QFETCH(LinkFailure, what);
        const LinkStatus status = openFailureStatus(QSerialPort::SerialPortError(error), reason, node);
        QVERIFY(status.reason.startsWith(reason));
        QCOMPARE(status.what, what);
        QCOMPARE(status.reason.contains("group dialout: sudo usermod -aG dialout $USER, then log in again"),
                 what == LinkFailure::AccessDenied);
    }
};

QTEST_GUILESS_MAIN(PortPermissionTest)
#include "test_port_permission.moc"
