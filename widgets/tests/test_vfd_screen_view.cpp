// The one 5x7 font and the one dot-matrix screen of both programs: the accented letters as the font
// builds them, and what the screen draws for reversed, double-height and blinking characters and
// the cursor, read back from its picture. The VQ71xx glass and the code pages are tested with
// vfdsetup (setup/tests/test_vfd_screen.cpp).
#include "widgets/vfd_frame.h"
#include "widgets/vfd_glyphs.h"
#include "widgets/vfd_screen_view.h"

#include <QTest>

namespace {

VfdGlyph Pattern(const QStringList& rows)
{
    VfdGlyph glyph{};
    for (int row = 0; row < kGlyphRows; ++row)
        for (int column = 0; column < kGlyphColumns; ++column)
            if (rows.at(row).at(column) == QLatin1Char('#'))
                glyph[row] |= quint8(1 << (kGlyphColumns - 1 - column));
    return glyph;
}

QStringList Rows(const VfdGlyph& glyph)
{
    QStringList rows;
    for (int row = 0; row < kGlyphRows; ++row) {
        QString text;
        for (int column = 0; column < kGlyphColumns; ++column)
            text += glyphDot(glyph, row, column) ? QLatin1Char('#') : QLatin1Char('.');
        rows.append(text);
    }
    return rows;
}

QImage Drawn(VfdScreenView& screen)
{
    screen.resize(screen.sizeHint());
    return screen.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

bool DotLit(const VfdScreenView& screen, const QImage& image, int row, int column, int dotRow, int dot)
{
    return qGreen(image.pixel(screen.dotRect(row, column, dotRow, dot).center().toPoint())) > 140;
}

// The lit dots of rows `fromRow` to `fromRow + count - 1` of a cell, as text rows.
QStringList DrawnRows(const VfdScreenView& screen, const QImage& image, int row, int column, int fromRow,
                      int count)
{
    QStringList rows;
    for (int dotRow = fromRow; dotRow < fromRow + count; ++dotRow) {
        QString text;
        for (int dot = 0; dot < kGlyphColumns; ++dot)
            text += DotLit(screen, image, row, column, dotRow, dot) ? QLatin1Char('#') : QLatin1Char('.');
        rows.append(text);
    }
    return rows;
}

VfdFrame text(const QString& line1, const QString& line2)
{
    VfdGrid grid(2, 20);
    for (int column = 0; column < 20; ++column) {
        grid.at(0, column).character = column < line1.size() ? line1.at(column).unicode() : u' ';
        grid.at(1, column).character = column < line2.size() ? line2.at(column).unicode() : u' ';
    }
    return VfdFrame(grid);
}

} // namespace

class VfdScreenViewTest : public QObject
{
    Q_OBJECT

private slots:
    void accentedLetters_data()
    {
        QTest::addColumn<QString>("character");
        QTest::addColumn<QStringList>("rows");
        // A small letter keeps its five rows under the accent.
        QTest::newRow("ñ, the tilde a wave")
            << "ñ" << QStringList{".##.#", "#..#.", "#.##.", "##..#", "#...#", "#...#", "#...#"};
        QTest::newRow("å, the ring closed by the letter")
            << "å" << QStringList{".###.", ".#.#.", ".###.", "....#", ".####", "#...#", ".####"};
        QTest::newRow("ă, a breve") << "ă" << QStringList{"#...#", ".###.", ".###.", "....#",
                                                          ".####", "#...#", ".####"};
        QTest::newRow("ő, a double acute")
            << "ő" << QStringList{"..#.#", ".#.#.", ".###.", "#...#", "#...#", "#...#", ".###."};
        // A capital is squeezed to five rows: a run of equal rows gives up a row first.
        QTest::newRow("Ĥ keeps its bar in the middle")
            << "Ĥ" << QStringList{"..#..", ".#.#.", "#...#", "#...#", "#####", "#...#", "#...#"};
        QTest::newRow("Ŵ keeps three strokes")
            << "Ŵ" << QStringList{"..#..", ".#.#.", "#...#", "#...#", "#.#.#", "#.#.#", ".#.#."};
        QTest::newRow("Ý keeps its fork")
            << "Ý" << QStringList{"...#.", "..#..", "#...#", "#...#", ".#.#.", "..#..", "..#.."};
        // Without a run, the second row and the one before last: a Z keeps its diagonal, a G its spur.
        QTest::newRow("Ž keeps its diagonal")
            << "Ž" << QStringList{".#.#.", "..#..", "#####", "...#.", "..#..", ".#...", "#####"};
        QTest::newRow("Ğ keeps its spur")
            << "Ğ" << QStringList{"#...#", ".###.", ".###.", "#...#", "#....", "#.###", ".####"};
        // A mark below: the letter in six rows above it.
        QTest::newRow("Ş") << "Ş"
                           << QStringList{".####", "#....", ".###.", "....#", "....#", "####.", "..#.."};
    }
    void accentedLetters()
    {
        QFETCH(QString, character);
        QFETCH(QStringList, rows);
        QCOMPARE(Rows(glyphFor(character.toUcs4().at(0))), rows);
    }

    void houseSignByEitherCode()
    {
        // vfdsetup's displays show byte 0x7F as the house sign, vfddemo's KD-317 as U+2302.
        const VfdGlyph house = Pattern({".....", "..#..", ".#.#.", "#...#", "#...#", "#...#", "#####"});
        QCOMPARE(glyphFor(U'\x7F'), house);
        QCOMPARE(glyphFor(U'\u2302'), house);
    }

    void doubleBoxLinesStayApart()
    {
        // A double vertical line lights two columns with a dark one between, edge to edge.
        const VfdGlyph glyph = glyphFor(U'\u2551');
        for (int row = 0; row < kGlyphRows; ++row) {
            int lit = 0;
            for (int column = 0; column < kGlyphColumns; ++column)
                lit += glyphDot(glyph, row, column);
            QCOMPARE(lit, 2);
            QVERIFY(glyph[row] != 0x18 && glyph[row] != 0x0C && glyph[row] != 0x06 && glyph[row] != 0x03);
        }
    }

    void cellsAndCursorRow()
    {
        VfdScreenView screen;
        screen.setFrame(text(QStringLiteral("A"), QString()));
        QCOMPARE(screen.sizeHint(), QSize(588, 104)); // 4 pixels a dot, as vfddemo's window has it
        const double pitch = screen.dotRect(0, 0, 0, 1).left() - screen.dotRect(0, 0, 0, 0).left();
        QCOMPARE(pitch, 4.0);
        // Two dark dots between characters; a cursor row and one dark row between lines.
        QCOMPARE(screen.dotRect(0, 1, 0, 0).left() - screen.dotRect(0, 0, 0, 4).left(), 3 * pitch);
        QCOMPARE(screen.dotRect(0, 0, 7, 0).top() - screen.dotRect(0, 0, 6, 0).top(), pitch);
        QCOMPARE(screen.dotRect(1, 0, 0, 0).top() - screen.dotRect(0, 0, 7, 0).top(), 2 * pitch);
        const QImage image = Drawn(screen);
        QCOMPARE(DrawnRows(screen, image, 0, 0, 0, 8),
                 (QStringList{".###.", "#...#", "#...#", "#...#", "#####", "#...#", "#...#", "....."}));
        QCOMPARE(DrawnRows(screen, image, 0, 1, 0, 8), QStringList(8, QStringLiteral(".....")));
    }

    void reverseCursorAndBlink()
    {
        VfdScreenView screen;
        VfdFrame frame = text(QStringLiteral("AB"), QStringLiteral("xy"));
        frame.grid.at(0, 1).reverse = true;
        frame.cursorShown = true;
        frame.cursorRow = 1;
        frame.cursorColumn = 3;
        screen.setFrame(frame);
        QImage image = Drawn(screen);
        // A reversed character lights the dots around its own.
        QCOMPARE(DrawnRows(screen, image, 0, 1, 0, 7),
                 (QStringList{"....#", ".###.", ".###.", "....#", ".###.", ".###.", "....#"}));
        // The cursor is the row of dots under its cell, and only there.
        QCOMPARE(DrawnRows(screen, image, 1, 3, 7, 1), QStringList{"#####"});
        QCOMPARE(DrawnRows(screen, image, 1, 3, 0, 7), QStringList(7, QStringLiteral(".....")));
        QCOMPARE(DrawnRows(screen, image, 1, 2, 7, 1), QStringList{"....."});
        QCOMPARE(DrawnRows(screen, image, 0, 1, 7, 1), QStringList{"....."});

        // In the dark half of a blink no dot is lit, the unlit ones stay faintly visible.
        frame.lit = false;
        screen.setFrame(frame);
        image = Drawn(screen);
        for (int row = 0; row < 2; ++row)
            for (int column = 0; column < 4; ++column)
                QCOMPARE(DrawnRows(screen, image, row, column, 0, 8),
                         QStringList(8, QStringLiteral(".....")));
        const int unlit = qGreen(image.pixel(screen.dotRect(0, 0, 0, 0).center().toPoint()));
        QVERIFY(unlit > qGreen(image.pixel(1, 1)));
    }

    void doubleHeightSpansBothRows()
    {
        VfdScreenView screen;
        VfdFrame frame = text(QStringLiteral("H"), QStringLiteral("H"));
        frame.grid.at(0, 0).height = VfdCell::DoubleTop;
        frame.grid.at(1, 0).height = VfdCell::DoubleBottom;
        screen.setFrame(frame);
        const QImage image = Drawn(screen);
        // Seven rows over sixteen dot rows: the upper cell with its cursor and gap rows, then the
        // lower cell's seven. The bar of the H (its row 3) crosses from one cell into the other.
        QCOMPARE(
            DrawnRows(screen, image, 0, 0, 0, 9),
            (QStringList{"#...#", "#...#", "#...#", "#...#", "#...#", "#...#", "#...#", "#####", "#####"}));
        QCOMPARE(DrawnRows(screen, image, 1, 0, 0, 7),
                 (QStringList{"#####", "#...#", "#...#", "#...#", "#...#", "#...#", "#...#"}));
    }

    void dimmerLevelsAreDarker()
    {
        VfdScreenView screen;
        VfdFrame frame = text(QString(20, QChar(0x7F)), QString());
        // The light of a dot, over its three colours: green alone is saturated at the top levels.
        const auto light = [](QRgb pixel) { return qRed(pixel) + qGreen(pixel) + qBlue(pixel); };
        int previous = 3 * 256;
        for (int level : {4, 3, 2, 1}) {
            frame.brightness = level;
            screen.setFrame(frame);
            const QImage image = Drawn(screen);
            const int lit = light(image.pixel(screen.dotRect(0, 5, 6, 0).center().toPoint()));
            const int unlit = light(image.pixel(screen.dotRect(1, 5, 0, 0).center().toPoint()));
            QVERIFY2(lit < previous, qPrintable(QStringLiteral("level %1 is not darker").arg(level)));
            QVERIFY(lit > unlit + 120);
            previous = lit;
        }
    }

    void framesFromASource()
    {
        VfdScreenView screen;
        int asked = 0;
        screen.setFrameSource(
            [&asked] {
                ++asked;
                VfdGrid grid(1, 20);
                grid.at(0, 0).character = U'Z';
                return VfdFrame(grid);
            },
            1, 20);
        QCOMPARE(screen.sizeHint(), QSize(588, 68));
        const QImage image = Drawn(screen);
        QVERIFY(asked > 0);
        QCOMPARE(DrawnRows(screen, image, 0, 0, 0, 7),
                 (QStringList{"#####", "....#", "...#.", "..#..", ".#...", "#....", "#####"}));
        QCOMPARE(screen.frame().grid.rowText(0).trimmed(), QStringLiteral("Z"));
    }
};

QTEST_MAIN(VfdScreenViewTest)
#include "test_vfd_screen_view.moc"
