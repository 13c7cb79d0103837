// The one text encoding characters go to a display in: the bytes each text becomes, a fixed-width
// line filled up with spaces and measured in bytes, and the refusal that names a character without a
// byte. The programs' choice of encoding: test_wire_encoding of vfdsetup.
#include "core/wire_text.h"

#include <QTest>

class WireTextTest : public QObject
{
    Q_OBJECT

private slots:
    // "encoding|text|bytes": a leading "line " encodes a display line of 20 bytes (filled up with spaces);
    // bytes are hex, or "refused: " and a part of the refusal.
    void encodes_data()
    {
        QTest::addColumn<QString>("row");
        QTest::newRow("windows-1251") << "windows-1251|Привет|cff0e8e2e5f2";
        QTest::newRow("IBM866, named in lower case") << "ibm866|Привет|8fe0a8a2a5e2";
        QTest::newRow("Big5") << "Big5|台北|a578a55f";
        QTest::newRow("euro sign in IBM866, after encodable text")
            << "IBM866|Привет €|refused: \"€\" (U+20AC)";
        QTest::newRow("emoji in Big5") << "Big5|中\U0001F600|refused: \"\U0001F600\" (U+1F600)";
        QTest::newRow("a control character, named by its escape")
            << "IBM866|a\u008Fb|refused: The character \"<U+008F>\" (U+008F) cannot";
        QTest::newRow("line padded with spaces") << "line IBM866|Мир|8ca8e0";
        QTest::newRow("10 Big5 characters fill 20 bytes")
            << "line Big5|中文中文中文中文中文|" + QString("a4a4a4e5").repeated(5);
        QTest::newRow("21 bytes, refused whole") << "line Big5|中文中文中文中文中文a|refused: takes 21 bytes";
        QTest::newRow("20 half-width katakana")
            << "line Shift_JIS|" + QString("ｶ").repeated(20) + "|" + QString("b6").repeated(20);
    }
    void encodes()
    {
        QFETCH(QString, row);
        const QStringList part = row.split('|');
        const bool line = part[0].startsWith("line ");
        const WireEncoding encoding = WireEncoding::fromName(part[0].mid(line ? 5 : 0)).value();
        const WireBytes encoded = line ? encoding.encodeLine(part[1], 20) : encoding.encode(part[1]);
        const bool refused = part[2].startsWith("refused: ");
        const QByteArray bytes = QByteArray::fromHex(part[2].toLatin1());
        QCOMPARE(encoded.bytes, refused ? QByteArray() : line ? bytes.leftJustified(20, ' ') : bytes);
        QVERIFY2(refused ? encoded.refusal.contains(part[2].mid(9)) : encoded.refusal.isEmpty(),
                 qPrintable(encoded.refusal));
    }
};

QTEST_GUILESS_MAIN(WireTextTest)
#include "test_wire_text.moc"
