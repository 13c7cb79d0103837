// Inputs the fuzzers found faults with, kept so the faults stay fixed; each row says what went wrong.
#include "sim/display_parser.h"

#include <QTest>

namespace {

// One item as text: its kind, and for a command its letter, length and whether it erases.
QString Describe(const DisplayParser::Item& item)
{
    switch (item.kind) {
    case DisplayParser::Item::SetupRequest:
        return QStringLiteral("setup");
    case DisplayParser::Item::Clear:
        return QStringLiteral("clear");
    case DisplayParser::Item::Character:
        return QStringLiteral("char %1").arg(item.byte, 2, 16, QLatin1Char('0'));
    case DisplayParser::Item::Unknown:
        return QStringLiteral("unknown %1").arg(item.byte, 2, 16, QLatin1Char('0'));
    case DisplayParser::Item::Command:
        break;
    }
    return QStringLiteral("F%1 %2%3")
        .arg(QLatin1Char(item.letter))
        .arg(item.length)
        .arg(item.erase ? QStringLiteral(" erase") : QString());
}

} // namespace

class FuzzRegressionsTest : public QObject
{
    Q_OBJECT

private slots:
    void displayParserItems_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("items");
        // An all-zero "FZ" header was taken for an erase and swallowed the next byte, so the command
        // after it was read as an unknown byte and two characters.
        QTest::newRow("FZ with a zero header, then F@")
            << QByteArray::fromHex("1F465A0000001F4640") << QStringList{"FZ 0", "F@ 0"};
        QTest::newRow("FR FZ with a zero header, then a character")
            << QByteArray::fromHex("1F46521F465A00000074") << QStringList{"FR 0", "FZ 0", "char 74"};
        // The erases that do have a fifth zero byte, and the one that does not.
        QTest::newRow("FN erase") << QByteArray::fromHex("1F464E000000001F4640")
                                  << QStringList{"FN 0 erase", "F@ 0"};
        QTest::newRow("FC erase") << QByteArray::fromHex("1F4643000000001F4640")
                                  << QStringList{"FC 0 erase", "F@ 0"};
        QTest::newRow("FM erase") << QByteArray::fromHex("1F464D000000001F4640")
                                  << QStringList{"FM 0 erase", "F@ 0"};
        QTest::newRow("FN zero header, then not zero")
            << QByteArray::fromHex("1F464E0000000141") << QStringList{"unknown 00", "char 41"};
    }
    void displayParserItems()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, items);
        QStringList seen;
        DisplayParser parser([&](const DisplayParser::Item& item) { seen << Describe(item); });
        parser.feed(bytes);
        QCOMPARE(seen, items);
    }
};

QTEST_APPLESS_MAIN(FuzzRegressionsTest)
#include "test_fuzz_regressions.moc"
