// An open the system refuses: the message keeps its number, and only a port this user may not open
// gets the help line on how to be allowed (both front ends show the outcome's detail).
#include "core/open_failure.h"
#include "protocol/outcome.h"

#include <QTest>

class PortPermissionTest : public QObject
{
    Q_OBJECT

private slots:
    void detail_data()
    {
        QTest::addColumn<int>("error");
        QTest::addColumn<QString>("reason");
        QTest::addColumn<PortNode>("node");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("help");
        const int denied = QSerialPort::PermissionError;
        QTest::newRow("no right to the node") << denied << "Permission denied" << PortNode::NotPermitted
                                              << "COM Port Already Open( 8005) !!" << true;
        QTest::newRow("locked by another program")
            << denied << "Permission error while locking the device" << PortNode::Present
            << "COM Port Already Open( 8005) !!" << false;
        QTest::newRow("name too long for the lock file")
            << denied << "Permission error while creating lock file" << PortNode::Missing
            << "COM Port not Exist( 8002) !!" << false;
        QTest::newRow("missing") << int(QSerialPort::DeviceNotFoundError) << "No such file or directory"
                                 << PortNode::Missing << "COM Port not Exist( 8002) !!" << false;
        QTest::newRow("open here already") << int(QSerialPort::OpenError) << "Device is already open"
                                           << PortNode::Present << "COM Port Already Open( 8015) !!" << false;
        QTest::newRow("not a terminal")
            << int(QSerialPort::UnsupportedOperationError) << "Inappropriate ioctl for device"
            << PortNode::Present << "COM Port Open Error( 8010) !!" << false;
    }
    void detail()
    {
        QFETCH(int, error);
        QFETCH(QString, reason);
        QFETCH(PortNode, node);
        QFETCH(QString, text);
        QFETCH(bool, help);
        const auto box =
            Outcome::portFailed(openFailureStatus(QSerialPort::SerialPortError(error), reason, node))
                .message();
        QVERIFY(box.has_value());
        QCOMPARE(box->title, QString("Port Error"));
        QCOMPARE(box->text, text);
        QVERIFY(box->detail.startsWith(reason));
        QCOMPARE(box->detail.contains("group dialout: sudo usermod -aG dialout $USER, then log in again"),
                 help);
    }
};

QTEST_GUILESS_MAIN(PortPermissionTest)
#include "test_port_permission.moc"
