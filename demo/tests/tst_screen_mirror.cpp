// The screen mirror's three write modes and the vertical row shift.
#include "commands/screen_mirror.h"

#include <QTest>

namespace {

// Row 1 "ABCDEFGHIJKLMNOPQRST", row 2 "abcdefghijklmnopqrst".
ScreenMirror Filled()
{
    ScreenMirror mirror;
    mirror.show(QStringLiteral("ABCDEFGHIJKLMNOPQRST"), QStringLiteral("abcdefghijklmnopqrst"));
    return mirror;
}

// The cells as one text, "." for an empty cell, a "|" between the rows.
QString Picture(const ScreenMirror& mirror)
{
    QString picture;
    for (int i = 1; i <= ScreenMirror::CellCount; ++i) {
        picture += mirror.cell(i).isEmpty() ? QStringLiteral(".") : mirror.cell(i);
        if (i == ScreenMirror::RowLength) {
            picture += u'|';
        }
    }
    return picture;
}

} // namespace

Q_DECLARE_METATYPE(MirrorMode)

class TestScreenMirror : public QObject
{
    Q_OBJECT
private slots:
    void typingFollowsMode_data();
    void typingFollowsMode();
    void horizontalAlternatesAtRowEnd();
    void rowShiftGivesOldRow2();
};

void TestScreenMirror::typingFollowsMode_data()
{
    QTest::addColumn<MirrorMode>("mode");
    QTest::addColumn<int>("cell");
    QTest::addColumn<QString>("picture");
    QTest::addColumn<int>("focus");
    QTest::newRow("overwrite 1") << MirrorMode::Overwrite << 1 << "*BCDEFGHIJKLMNOPQRST|abcdefghijklmnopqrst"
                                 << 2;
    QTest::newRow("overwrite 39") << MirrorMode::Overwrite << 39
                                  << "ABCDEFGHIJKLMNOPQRST|abcdefghijklmnopqr*t" << 40;
    QTest::newRow("overwrite 40 wraps")
        << MirrorMode::Overwrite << 40 << "ABCDEFGHIJKLMNOPQRST|abcdefghijklmnopqrs*" << 1;
    QTest::newRow("vertical 5") << MirrorMode::Vertical << 5 << "ABCD*FGHIJKLMNOPQRST|abcdefghijklmnopqrst"
                                << 6;
    QTest::newRow("vertical 20") << MirrorMode::Vertical << 20 << "ABCDEFGHIJKLMNOPQRS*|abcdefghijklmnopqrst"
                                 << 21;
    QTest::newRow("vertical 40 scrolls")
        << MirrorMode::Vertical << 40 << "abcdefghijklmnopqrs.|...................*" << 21;
    QTest::newRow("horizontal 3") << MirrorMode::Horizontal << 3
                                  << "AB*DEFGHIJKLMNOPQRST|abcdefghijklmnopqrst" << 4;
    QTest::newRow("horizontal 20") << MirrorMode::Horizontal << 20
                                   << "ABCDEFGHIJKLMNOPQRS*|abcdefghijklmnopqrst" << 21;
    QTest::newRow("horizontal 21 shifts")
        << MirrorMode::Horizontal << 21 << "BCDEFGHIJKLMNOPQRST*| bcdefghijklmnopqrst" << 20;
    QTest::newRow("horizontal 30") << MirrorMode::Horizontal << 30
                                   << "ABCDEFGHIJKLMNOPQRST|abcdefghi*klmnopqrst" << 31;
}

void TestScreenMirror::typingFollowsMode()
{
    QFETCH(MirrorMode, mode);
    QFETCH(int, cell);
    QFETCH(QString, picture);
    QFETCH(int, focus);
    ScreenMirror mirror = Filled();
    mirror.typeCharacter(cell, QStringLiteral("*"), mode);
    QCOMPARE(Picture(mirror), picture);
    QCOMPARE(mirror.focus(), focus);
}

void TestScreenMirror::horizontalAlternatesAtRowEnd()
{
    ScreenMirror mirror = Filled();
    mirror.typeCharacter(20, QStringLiteral("1"), MirrorMode::Horizontal);
    QCOMPARE(mirror.focus(), 21);
    mirror.typeCharacter(21, QStringLiteral("2"), MirrorMode::Horizontal);
    QCOMPARE(mirror.focus(), 20);
    mirror.typeCharacter(20, QStringLiteral("3"), MirrorMode::Horizontal);
    QCOMPARE(mirror.focus(), 21);
    mirror.typeCharacter(21, QStringLiteral("4"), MirrorMode::Horizontal);
    QCOMPARE(Picture(mirror), QStringLiteral("CDEFGHIJKLMNOPQRS134| bcdefghijklmnopqrst"));
}

void TestScreenMirror::rowShiftGivesOldRow2()
{
    ScreenMirror mirror;
    mirror.show(QStringLiteral("ABCDEFGHIJKLMNOPQRST"), QStringLiteral("ab d"));
    const QStringList written = mirror.shiftRowUp();
    QCOMPARE(written.size(), 20);
    QCOMPARE(written.mid(0, 5), (QStringList{"a", "b", " ", "d", ""}));
    QCOMPARE(written.join(QString()), QStringLiteral("ab d"));
    QCOMPARE(Picture(mirror), QStringLiteral("ab d................|...................."));
}

QTEST_APPLESS_MAIN(TestScreenMirror)
#include "tst_screen_mirror.moc"
