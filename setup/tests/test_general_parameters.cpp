// The parameter vocabulary and the general parameter record: the codes the display stores.
#include "operations/general_record.h"
#include "operations/parameter_vocabulary.h"
#include "protocol/crc16.h"

#include <QTest>

Q_DECLARE_METATYPE(GeneralParameters)

class GeneralParametersTest : public QObject
{
    Q_OBJECT

private slots:
    void vocabulary_data()
    {
        QTest::addColumn<int>("function");
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("code");
        enum { Baud, Format, Command, CodePage, Charset, Brightness, Customer, Groups };
        QTest::newRow("9600") << int(Baud) << "9600" << 1;
        QTest::newRow("9600 with a blank") << int(Baud) << "9600 " << 255;
        QTest::newRow("115200") << int(Baud) << "115200" << 4;
        QTest::newRow("O,7,1") << int(Format) << "O,7,1" << 5;
        QTest::newRow("n,8,1 lower case") << int(Format) << "n,8,1" << 255;
        QTest::newRow("DSP800") << int(Command) << "DSP800" << 0;
        QTest::newRow("ICD2002 has a code") << int(Command) << "ICD2002" << 2;
        QTest::newRow("BA63") << int(Command) << "BA63" << 10;
        QTest::newRow("epson lower case") << int(Command) << "epson" << 255;
        QTest::newRow("Europe is not a code page name") << int(CodePage) << "Europe" << 255;
        QTest::newRow("PC437") << int(CodePage) << "PC437" << 0;
        QTest::newRow("Greek") << int(CodePage) << "Greek" << 12;
        QTest::newRow("WPC1252") << int(CodePage) << "WPC1252" << 16;
        QTest::newRow("PC858") << int(CodePage) << "PC858" << 19;
        QTest::newRow("WPC1257") << int(CodePage) << "WPC1257" << 65;
        QTest::newRow("Franch") << int(Charset) << "Franch" << 1;
        QTest::newRow("France spelled right") << int(Charset) << "France" << 255;
        QTest::newRow("Itlay") << int(Charset) << "Itlay" << 6;
        QTest::newRow("Italy spelled right") << int(Charset) << "Italy" << 255;
        QTest::newRow("Denmark2") << int(Charset) << "Denmark2" << 10;
        QTest::newRow("100% is code 0") << int(Brightness) << "100%" << 0;
        QTest::newRow("25%") << int(Brightness) << "25%" << 1;
        QTest::newRow("100") << int(Brightness) << "100" << 255;
        QTest::newRow("Kestrel") << int(Customer) << "Kestrel" << 1;
        QTest::newRow("None") << int(Customer) << "None" << 255;
        QTest::newRow("no customer") << int(Customer) << "" << 255;
        QTest::newRow("group 1") << int(Groups) << "1" << 1;
        QTest::newRow("group 0") << int(Groups) << "0" << 255;
        QTest::newRow("group empty") << int(Groups) << "" << 255;
    }
    void vocabulary()
    {
        QFETCH(int, function);
        QFETCH(QString, name);
        QFETCH(int, code);
        switch (function) {
        case 0:
            QCOMPARE(baudRateCode(name), code);
            break;
        case 1:
            QCOMPARE(formatCode(name), code);
            break;
        case 2:
            QCOMPARE(commandSetCode(name), code);
            break;
        case 3:
            QCOMPARE(codePageCode(name), code);
            break;
        case 4:
            QCOMPARE(charsetCode(name), code);
            break;
        case 5:
            QCOMPARE(brightnessCode(name), code);
            break;
        case 6:
            QCOMPARE(customerIdCode(name), code);
            break;
        default:
            // The four table-group functions share one shape.
            QCOMPARE(commandTableGroup(name), code);
            QCOMPARE(fontTableGroup(name), code);
            QCOMPARE(baudRateTableGroup(name), code);
            QCOMPARE(dataFormatTableGroup(name), code);
        }
    }

    void everyListItemButEuropeHasACode()
    {
        for (const QString& item : baudRateItems())
            QVERIFY(baudRateCode(item) != 255);
        for (const QString& item : comFormatItems())
            QVERIFY(formatCode(item) != 255);
        for (const QString& item : commandItems())
            QVERIFY(commandSetCode(item) != 255);
        for (const QString& item : codePageItems())
            QCOMPARE(codePageCode(item) == 255, item == "Europe");
        for (const QString& item : internationalCharItems())
            QVERIFY(charsetCode(item) != 255);
        for (const QString& item : brightnessItems())
            QVERIFY(brightnessCode(item) != 255);
    }

    // "Set to Default" and the defaults of the codes agree: each default name maps to the default code.
    void defaultsAreTheCodesOfTheDefaultNames()
    {
        const GeneralParameters defaults;
        for (const GeneralSetting& setting : generalSettings()) {
            QVERIFY(setting.items().contains(QString::fromLatin1(setting.defaultName)));
            QCOMPARE(int(defaults.*(setting.field)), setting.code(QString::fromLatin1(setting.defaultName)));
        }
        QCOMPARE(generalParametersNamed({"9600", "N,8,1", "EPSON", "Europe", "USA", "100%"}), defaults);
    }

    // The names map through the vocabulary, each to its own field, in the page's order.
    void named_data()
    {
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<QByteArray>("codes"); // baud, format, command set, code page, charset, brightness
        QTest::newRow("defaults") << QStringList{"9600", "N,8,1", "EPSON", "Europe", "USA", "100%"}
                                  << QByteArray::fromHex("010001FF0000");
        QTest::newRow("every list changed")
            << QStringList{"115200", "O,7,1", "BA63", "WPC1257", "Denmark2", "25%"}
            << QByteArray::fromHex("04050A410A01");
        QTest::newRow("unknown names are not set")
            << QStringList{"9600 ", "x", "", "Europe", "usa", "0%"} << QByteArray(6, '\xFF');
    }
    void named()
    {
        QFETCH(QStringList, names);
        QFETCH(QByteArray, codes);
        const GeneralParameters p = generalParametersNamed(names);
        const QByteArray got = QByteArray() + char(p.baudRate) + char(p.dataFormat) + char(p.commandSet) +
                               char(p.codePage) + char(p.internationalCharset) + char(p.brightness);
        QCOMPARE(got.toHex(' '), codes.toHex(' '));
    }

    void record_data()
    {
        QTest::addColumn<GeneralParameters>("parameters");
        QTest::addColumn<QByteArray>("codes");
        QTest::newRow("defaults") << GeneralParameters{} << QByteArray::fromHex("FF0100FF010000FFFFFFFFFF");
        QTest::newRow("every list changed")
            << generalParametersNamed({"115200", "O,7,1", "BA63", "WPC1257", "Denmark2", "25%"})
            << QByteArray::fromHex("FF0A0A41040501FFFFFFFFFF");
        QTest::newRow("unknown names are not set")
            << generalParametersNamed({"9600 ", "x", "", "Europe", "usa", "0%"}) << QByteArray(12, '\xFF');
        // Each code goes to its own byte: distinct codes catch two fields swapped.
        QTest::newRow("codes by position") << GeneralParameters{0x11, 0x12, 0x13, 0x14, 0x15, 0x16}
                                           << QByteArray::fromHex("FF131514111216FFFFFFFFFF");
    }
    void record()
    {
        QFETCH(GeneralParameters, parameters);
        QFETCH(QByteArray, codes);
        const QByteArray record = generalParameterRecord(parameters);
        QCOMPARE(record.size(), 64);
        QCOMPARE(record.mid(6, 12).toHex(' '), codes.toHex(' '));
        QCOMPARE(record.left(6), QByteArray::fromHex("55AA5AA52045"));
        QCOMPARE(record.mid(18, 14), QByteArray(14, '\xFF'));
        QCOMPARE(record.mid(32, 6), QByteArray("Talvex"));
        QCOMPARE(record.mid(38, 10), QByteArray(10, '\xFF'));
        QCOMPARE(record.mid(48, 7), QByteArray("VQ-71xx"));
        QCOMPARE(record.mid(55), QByteArray(9, '\xFF'));
    }

    void defaultRecordAndItsCrc()
    {
        const QByteArray expected = QByteArray::fromHex("55AA5AA52045FF0100FF010000") +
                                    QByteArray(19, '\xFF') + "Talvex" + QByteArray(10, '\xFF') + "VQ-71xx" +
                                    QByteArray(9, '\xFF');
        QCOMPARE(generalParameterRecord({}), expected);
        QCOMPARE(crc16(expected), QByteArray::fromHex("AA8D"));
    }
};

QTEST_GUILESS_MAIN(GeneralParametersTest)
#include "test_general_parameters.moc"
