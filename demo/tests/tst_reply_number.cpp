// How prompt replies become numbers and bytes.
#include "commands/reply_number.h"

#include <QTest>

class TestReplyNumber : public QObject
{
    Q_OBJECT
private slots:
    void readsLeadingNumber_data();
    void readsLeadingNumber();
    void roundsHalvesToEven_data();
    void roundsHalvesToEven();
    void acceptsWithinRange_data();
    void acceptsWithinRange();
};

void TestReplyNumber::readsLeadingNumber_data()
{
    QTest::addColumn<QString>("reply");
    QTest::addColumn<double>("value");
    QTest::newRow("plain") << "3" << 3.0;
    QTest::newRow("empty, as Cancel gives") << "" << 0.0;
    QTest::newRow("no number") << "abc" << 0.0;
    QTest::newRow("blanks anywhere") << " 1 2 " << 12.0;
    QTest::newRow("tabs and line feeds") << "\t2\n5" << 25.0;
    QTest::newRow("carriage return ends it") << "2\r5" << 2.0;
    QTest::newRow("decimal") << "2.5" << 2.5;
    QTest::newRow("leading point") << ".4" << 0.4;
    QTest::newRow("trailing text dropped") << "3xyz" << 3.0;
    QTest::newRow("negative") << "-0.7" << -0.7;
    QTest::newRow("plus sign") << "+4" << 4.0;
    QTest::newRow("sign alone") << "-" << 0.0;
    QTest::newRow("second point ends it") << "1.2.3" << 1.2;
    QTest::newRow("exponent") << "1e2" << 100.0;
    QTest::newRow("exponent with sign") << "25E-1" << 2.5;
    QTest::newRow("exponent without digits") << "7e" << 7.0;
    QTest::newRow("exponent sign without digits") << "7e+" << 7.0;
    QTest::newRow("hexadecimal") << "&HFF" << 255.0;
    QTest::newRow("hexadecimal lower case") << "&h1a" << 26.0;
    QTest::newRow("hexadecimal stops at non-digit") << "&H1G" << 1.0;
    QTest::newRow("hexadecimal stops at a digit of another script") << "&H1\u0663" << 1.0;
    QTest::newRow("hexadecimal of another script's digit") << "&H\u06F99" << 0.0;
    QTest::newRow("octal stops at a digit of another script") << "&O7\u0967" << 7.0;
    QTest::newRow("hexadecimal of hundreds of digits is not a number") << "&H" + QString(300, u'F') << 0.0;
    QTest::newRow("octal") << "&O17" << 15.0;
    QTest::newRow("octal stops at 8") << "&o78" << 7.0;
    QTest::newRow("ampersand alone") << "&" << 0.0;
    QTest::newRow("ampersand other letter") << "&X1" << 0.0;
    QTest::newRow("blanks inside hexadecimal") << "& H 1 0" << 16.0;
    QTest::newRow("huge exponent is not a number") << "1e999" << 0.0;
}

void TestReplyNumber::readsLeadingNumber()
{
    QFETCH(QString, reply);
    QFETCH(double, value);
    QCOMPARE(readReplyNumber(reply), value);
}

void TestReplyNumber::roundsHalvesToEven_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<double>("rounded");
    QTest::newRow("2.5") << 2.5 << 2.0;
    QTest::newRow("3.5") << 3.5 << 4.0;
    QTest::newRow("0.5") << 0.5 << 0.0;
    QTest::newRow("-0.5") << -0.5 << 0.0;
    QTest::newRow("-1.5") << -1.5 << -2.0;
    QTest::newRow("-0.7") << -0.7 << -1.0;
    QTest::newRow("2.4") << 2.4 << 2.0;
    QTest::newRow("2.6") << 2.6 << 3.0;
    QTest::newRow("254.5") << 254.5 << 254.0;
}

void TestReplyNumber::roundsHalvesToEven()
{
    QFETCH(double, value);
    QFETCH(double, rounded);
    QCOMPARE(roundHalfEven(value) + 0.0, rounded);
}

void TestReplyNumber::acceptsWithinRange_data()
{
    QTest::addColumn<QString>("reply");
    QTest::addColumn<double>("low");
    QTest::addColumn<bool>("lowOpen");
    QTest::addColumn<double>("high");
    QTest::addColumn<int>("result"); // -100: refused
    QTest::newRow("brightness 2.5") << "2.5" << 1.0 << false << 4.0 << 2;
    QTest::newRow("brightness 3.5") << "3.5" << 1.0 << false << 4.0 << 4;
    QTest::newRow("brightness 4.2") << "4.2" << 1.0 << false << 4.0 << -100;
    QTest::newRow("brightness 0.9") << "0.9" << 1.0 << false << 4.0 << -100;
    QTest::newRow("brightness cancelled") << "" << 1.0 << false << 4.0 << -100;
    QTest::newRow("blink cancelled") << "" << 0.0 << false << 255.0 << 0;
    QTest::newRow("blink 255") << "255" << 0.0 << false << 255.0 << 255;
    QTest::newRow("blink 255.4") << "255.4" << 0.0 << false << 255.0 << -100;
    QTest::newRow("column 0.4") << "0.4" << 0.0 << true << 20.0 << 0;
    QTest::newRow("column 0") << "0" << 0.0 << true << 20.0 << -100;
    QTest::newRow("column 20") << "20" << 0.0 << true << 20.0 << 20;
    QTest::newRow("hour -0.5") << "-0.5" << -1.0 << true << 23.0 << 0;
    QTest::newRow("hour -0.7 rounds to -1") << "-0.7" << -1.0 << true << 23.0 << -1;
    QTest::newRow("hour -1") << "-1" << -1.0 << true << 23.0 << -100;
    QTest::newRow("hour 23.5") << "23.5" << -1.0 << true << 23.0 << -100;
}

void TestReplyNumber::acceptsWithinRange()
{
    QFETCH(QString, reply);
    QFETCH(double, low);
    QFETCH(bool, lowOpen);
    QFETCH(double, high);
    QFETCH(int, result);
    QCOMPARE(replyInRange(reply, low, lowOpen, high).value_or(-100), result);
}

QTEST_APPLESS_MAIN(TestReplyNumber)
#include "tst_reply_number.moc"
