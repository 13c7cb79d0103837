// The one 5x7 font and the one dot-matrix screen of both programs: letters as the font builds them, and
// what the screen draws for plain, reversed, double-height and blinking characters and the cursor, read
// back from its picture. The VQ71xx glass and the code pages are tested with vfdsetup.
#include "widgets/tests/raster_font.h"
#include "widgets/vfd_frame.h"
#include "widgets/vfd_glyphs.h"
#include "widgets/vfd_screen_view.h"

#include <QTest>

namespace {

// Dot rows as text, "#" for a lit dot and "." for a dark one, the rows apart by a space.
QString dotRows(int from, int to, const std::function<bool(int row, int dot)>& lit)
{
    QStringList rows;
    for (int row = from; row < to; ++row) {
        rows.append(QString());
        for (int dot = 0; dot < kGlyphColumns; ++dot)
            rows.last() += lit(row, dot) ? u'#' : u'.';
    }
    return rows.join(u' ');
}

} // namespace

class VfdScreenViewTest : public QObject
{
    Q_OBJECT

private slots:
    void glyphs_data()
    {
        QTest::addColumn<uint>("character");
        QTest::addColumn<QString>("rows");
        // A small letter keeps its five rows under the accent; a capital is squeezed to five rows, a run
        // of equal rows giving up a row first, else the second row and the one before last.
        QTest::newRow("ñ") << uint(U'ñ') << ".##.# #..#. #.##. ##..# #...# #...# #...#";
        QTest::newRow("Ĥ") << uint(U'Ĥ') << "..#.. .#.#. #...# #...# ##### #...# #...#";
        QTest::newRow("Ž") << uint(U'Ž') << ".#.#. ..#.. ##### ...#. ..#.. .#... #####";
        QTest::newRow("Ş, a mark below") << uint(U'Ş') << ".#### #.... .###. ....# ....# ####. ..#..";
        QTest::newRow("house sign 7F") << 0x7Fu << "..... ..#.. .#.#. #...# #...# #...# #####";
        QTest::newRow("house sign 2302") << 0x2302u << "..... ..#.. .#.#. #...# #...# #...# #####";
        QTest::newRow("double vertical line") << 0x2551u << ".#.#. .#.#. .#.#. .#.#. .#.#. .#.#. .#.#.";
    }
    void glyphs()
    {
        QFETCH(uint, character);
        if (character == 0x2551u && !rasterFontDraws(character))
            QSKIP("drawn from DejaVu Sans Mono, which this system does not have");
        const VfdGlyph glyph = glyphFor(char32_t(character));
        QTEST(dotRows(0, kGlyphRows, [&](int row, int dot) { return glyphDot(glyph, row, dot); }), "rows");
    }

    void drawn_data()
    {
        QTest::addColumn<QString>("setup"); // "reverse", "cursor", "double", "dark"
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("column");
        QTest::addColumn<int>("fromRow");
        QTest::addColumn<QString>("dots"); // dot rows from `fromRow` on
        QTest::newRow("plain, cursor row dark")
            << "" << 0 << 0 << 0 << ".###. #...# #...# #...# ##### #...# #...# .....";
        QTest::newRow("blank") << "" << 0 << 2 << 0 << "..... ..... ..... ..... ..... ..... ..... .....";
        QTest::newRow("reversed") << "reverse" << 0 << 1 << 0 << "....# .###. .###. ....# .###. .###. ....#";
        QTest::newRow("cursor under its cell") << "cursor" << 1 << 3 << 6 << "..... #####";
        QTest::newRow("cursor not beside") << "cursor" << 1 << 2 << 7 << ".....";
        QTest::newRow("dark half of a blink")
            << "cursor dark" << 0 << 0 << 0 << "..... ..... ..... ..... .....";
        // Seven rows over sixteen dot rows: the bar of the H crosses from the upper cell into the lower.
        QTest::newRow("double top") << "double" << 0 << 0 << 0
                                    << "#...# #...# #...# #...# #...# #...# #...# ##### #####";
        QTest::newRow("double bottom")
            << "double" << 1 << 0 << 0 << "##### #...# #...# #...# #...# #...# #...#";
    }
    void drawn()
    {
        QFETCH(QString, setup);
        QFETCH(int, row);
        QFETCH(int, column);
        QFETCH(int, fromRow);
        QFETCH(QString, dots);
        VfdFrame frame(VfdGrid(2, 20));
        if (setup == "double") {
            frame.grid.at(0, 0) = {U'H', false, VfdCell::DoubleTop};
            frame.grid.at(1, 0) = {U'H', false, VfdCell::DoubleBottom};
        } else {
            frame.grid.at(0, 0).character = U'A';
            frame.grid.at(0, 1) = {U'B', setup == "reverse"};
        }
        frame.cursorShown = setup.startsWith("cursor");
        frame.cursorRow = 1;
        frame.cursorColumn = 3;
        frame.lit = !setup.endsWith("dark");
        VfdScreenView screen;
        screen.setFrame(frame);
        QCOMPARE(screen.sizeHint(), QSize(588, 104)); // 4 pixels a dot, as vfddemo's window has it
        screen.resize(screen.sizeHint());
        const QImage image = screen.grab().toImage().convertToFormat(QImage::Format_RGB32);
        const auto lit = [&](int dotRow, int dot) {
            return qGreen(image.pixel(screen.dotRect(row, column, dotRow, dot).center().toPoint())) > 140;
        };
        QCOMPARE(dotRows(fromRow, fromRow + int(dots.count(u' ')) + 1, lit), dots);
    }
};

QTEST_MAIN(VfdScreenViewTest)
#include "test_vfd_screen_view.moc"
