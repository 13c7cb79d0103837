// How what a person typed becomes a value, and how a value is quoted back to them: line settings (their
// parity picked from a list as every typed name is), port names, a quoted value. Every program reads its
// options, profiles and lists through these, so the messages built on them are tested at the programs.
#include "core/line_settings.h"
#include "core/port_name.h"
#include "core/quoted_value.h"

#include <QTest>

namespace {

// The system's name of port COMn.
QString comDevice(int n)
{
#ifdef Q_OS_WIN
    return QStringLiteral("\\\\.\\COM%1").arg(n);
#else
    return QStringLiteral("/dev/ttyS%1").arg(n - 1);
#endif
}

} // namespace

class TypedValuesTest : public QObject
{
    Q_OBJECT

private slots:
    // The settings read, as text again; or why the text was refused.
    void lineSettings_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("read");
        QTest::newRow("plain") << "9600,N,8,1"
                               << "9600,N,8,1";
        QTest::newRow("blanks, lower case") << " 4800 , o , 7 , 2 "
                                            << "4800,O,7,2";
        QTest::newRow("mark, 5 bits, 1.5") << "1200,m,5,1.5"
                                           << "1200,M,5,1.5";
        QTest::newRow("space, even") << "115200,S,6,1"
                                     << "115200,S,6,1";
        QTest::newRow("even") << "19200,e,8,1"
                              << "19200,E,8,1";
        const QString fields = "expected baud,parity,data bits,stop bits";
        const QString baud = "the baud rate must be a positive whole number";
        const QString parity = "the parity must be N, E, O, M or S";
        for (const char* text : {"", "9600,N,8", "9600,N,8,1,0"})
            QTest::newRow(*text ? text : "empty") << text << fields;
        for (const char* text : {"0,N,8,1", "+9600,N,8,1", "96OO,N,8,1", "99999999999,N,8,1", " ,N,8,1"})
            QTest::newRow(text) << text << baud;
        QTest::newRow("9600,X,8,1") << "9600,X,8,1" << parity;
        QTest::newRow("9600,NN,8,1") << "9600,NN,8,1" << parity;
        QTest::newRow("9600,N,9,1") << "9600,N,9,1"
                                    << "the data bits must be 5, 6, 7 or 8";
        QTest::newRow("9600,N,4,1") << "9600,N,4,1"
                                    << "the data bits must be 5, 6, 7 or 8";
        QTest::newRow("9600,N,8,3") << "9600,N,8,3"
                                    << "the stop bits must be 1, 1.5 or 2";
    }
    void lineSettings()
    {
        QFETCH(QString, text);
        QFETCH(QString, read);
        QString reason;
        const std::optional<LineSettings> line = LineSettings::parse(text, &reason);
        QCOMPARE(line ? line->toText() : reason,
                 line ? read : QStringLiteral("Invalid settings \"%1\": %2").arg(text, read));
    }

    // `com`: the number of a "COMn" text, 0 for a "COM" text without one, -1 for another text (the
    // system's own name, opened as it stands).
    void portNames_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("simulated");
        QTest::addColumn<int>("com");
        QTest::newRow("COM1") << "COM1" << false << 1;
        QTest::newRow("COM39") << "COM39" << false << 39;
        QTest::newRow("every COM is a 0") << "COMCOM2" << false << 2;
        QTest::newRow("COM0") << "COM0" << false << 0;
        QTest::newRow("COMx") << "COMx" << false << 0;
        QTest::newRow("a signed number is a system name") << "+1" << false << -1;
        QTest::newRow("lower case is a system name") << "com3" << false << -1;
        QTest::newRow("a path") << "/dev/ttyUSB0" << false << -1;
        QTest::newRow("sim") << "sim" << true << -1;
        QTest::newRow("sim:NAME") << "sim:a-1_B" << true << -1;
        QTest::newRow("sim: without a name") << "sim:" << false << -1;
        QTest::newRow("sim with a blank") << "sim " << false << -1;
        QTest::newRow("sim:NAME with a blank") << "sim:a b" << false << -1;
        QTest::newRow("SIM") << "SIM" << false << -1;
    }
    void portNames()
    {
        QFETCH(QString, text);
        QFETCH(bool, simulated);
        QFETCH(int, com);
        QCOMPARE(isSimulatedPort(text), simulated);
        QCOMPARE(comPortNumber(text).value_or(0), qMax(com, 0));
        QCOMPARE(systemPortName(text).value_or("none"), com > 0 ? comDevice(com) : com == 0 ? "none" : text);
    }

    // A port list shows a system port once, as the COM entry that opens it, when that entry is offered.
    void comEntryOfSystemPort()
    {
        QCOMPARE(comPortOpening(comDevice(5), 8), 5);
        QCOMPARE(comPortOpening(comDevice(5), 4), std::nullopt);
        QCOMPARE(comPortOpening(QStringLiteral("/dev/ttyUSB0"), 8), std::nullopt);
    }

    void quotedValues_data()
    {
        QTest::addColumn<QString>("value");
        QTest::addColumn<QChar>("mark");
        QTest::addColumn<QString>("quoted");
        QTest::newRow("plain") << "COM1" << QChar(u'\'') << "'COM1'";
        QTest::newRow("double marks") << "x y" << QChar(u'"') << "\"x y\"";
        QTest::newRow("no marks") << "--baud" << QChar() << "--baud";
        QTest::newRow("40 characters") << QString(40, 'x') << QChar(u'\'') << "'" + QString(40, 'x') + "'";
        QTest::newRow("41 characters") << QString(41, 'x') << QChar(u'\'') << "'" + QString(40, 'x') + "…'";
        QTest::newRow("40 emoji are 40 characters") << QString("\U0001F600").repeated(40) << QChar(u'\'')
                                                    << "'" + QString("\U0001F600").repeated(40) + "'";
        QTest::newRow("what breaks a line or prints nothing")
            << "a\nb\tc\u2028d\u0001" << QChar(u'\'') << "'a<U+000A>b<U+0009>c<U+2028>d<U+0001>'";
        QTest::newRow("spaces of other widths")
            << "a\u00A0b\u200Bc" << QChar(u'\'') << "'a<U+00A0>b<U+200B>c'";
        QTest::newRow("a lone half of a pair")
            << QString(QChar(0xD83D)) + "x" << QChar(u'\'') << "'<U+D83D>x'";
    }
    void quotedValues()
    {
        QFETCH(QString, value);
        QFETCH(QChar, mark);
        QFETCH(QString, quoted);
        QCOMPARE(quotedValue(value, mark), quoted);
    }
};

QTEST_GUILESS_MAIN(TypedValuesTest)
#include "test_typed_values.moc"
