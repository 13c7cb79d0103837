// How prompt replies become numbers: the leading number of the reply, blanks anywhere, the &H and &O
// forms, and halves rounded to even. The limits of each prompt are the window transcripts'.
#include "demo/model/reply_number.h"

#include <QTest>

class TestReplyNumber : public QObject
{
    Q_OBJECT
private slots:
    void readsLeadingNumber_data();
    void readsLeadingNumber();
};

void TestReplyNumber::readsLeadingNumber_data()
{
    QTest::addColumn<QString>("reply");
    QTest::addColumn<double>("value");
    QTest::addColumn<double>("rounded");
    QTest::newRow("empty, as Cancel gives") << "" << 0.0 << 0.0;
    QTest::newRow("no number") << "abc" << 0.0 << 0.0;
    QTest::newRow("blanks, tabs and line feeds anywhere") << " 1\t2\n5 " << 125.0 << 125.0;
    QTest::newRow("carriage return ends it") << "2\r5" << 2.0 << 2.0;
    QTest::newRow("half rounds down to even") << "2.5" << 2.5 << 2.0;
    QTest::newRow("half rounds up to even") << "3.5" << 3.5 << 4.0;
    QTest::newRow("negative half to even") << "-1.5" << -1.5 << -2.0;
    QTest::newRow("negative") << "-0.7" << -0.7 << -1.0;
    QTest::newRow("leading point") << ".4" << 0.4 << 0.0;
    QTest::newRow("trailing text dropped") << "3xyz" << 3.0 << 3.0;
    QTest::newRow("plus sign") << "+4" << 4.0 << 4.0;
    QTest::newRow("second point ends it") << "1.2.3" << 1.2 << 1.0;
    QTest::newRow("exponent") << "25E-1" << 2.5 << 2.0;
    QTest::newRow("exponent without digits") << "7e+" << 7.0 << 7.0;
    QTest::newRow("huge exponent is not a number") << "1e999" << 0.0 << 0.0;
    QTest::newRow("hexadecimal") << "& h 1a" << 26.0 << 26.0;
    QTest::newRow("hexadecimal stops at a digit of another script") << "&HF\u0663" << 15.0 << 15.0;
    QTest::newRow("hexadecimal of hundreds of digits is not a number")
        << "&H" + QString(300, u'F') << 0.0 << 0.0;
    QTest::newRow("octal stops at 8") << "&o178" << 15.0 << 15.0;
    QTest::newRow("ampersand other letter") << "&X1" << 0.0 << 0.0;
}

void TestReplyNumber::readsLeadingNumber()
{
    QFETCH(QString, reply);
    QFETCH(double, value);
    QFETCH(double, rounded);
    QCOMPARE(readReplyNumber(reply), value);
    QCOMPARE(roundHalfEven(value) + 0.0, rounded);
}

QTEST_APPLESS_MAIN(TestReplyNumber)
#include "test_reply_number.moc"
