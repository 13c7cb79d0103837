// The one 5x7 font and the one dot-matrix screen of both programs: letters as the font builds them, and
// what the screen draws for plain, reversed, double-height and blinking characters and the cursor, read
// back from its picture. The VQ71xx glass and the code pages are tested with vfdsetup.
#include "widgets/vfd_frame.h"
#include "widgets/vfd_glyphs.h"
#include "widgets/vfd_screen_view.h"

#include <QTest>

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
        QFETCH(QString, rows);
        QStringList drawn;
        for (int row = 0; row < kGlyphRows; ++row) {
            QString text;
            for (int column = 0; column < kGlyphColumns; ++column)
                text += glyphDot(glyphFor(char32_t(character)), row, column) ? u'#' : u'.';
            drawn.append(text);
        }
        QCOMPARE(drawn.join(u' '), rows);
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
        VfdGrid grid(2, 20);
        const QString line1 = setup == "double" ? "H" : "AB";
        const QString line2 = setup == "double" ? "H" : "xy";
        for (int c = 0; c < 20; ++c) {
            grid.at(0, c).character = c < line1.size() ? line1.at(c).unicode() : u' ';
            grid.at(1, c).character = c < line2.size() ? line2.at(c).unicode() : u' ';
        }
        VfdFrame frame(grid);
        frame.grid.at(0, 1).reverse = setup == "reverse";
        frame.cursorShown = setup.startsWith("cursor");
        frame.cursorRow = 1;
        frame.cursorColumn = 3;
        frame.lit = !setup.endsWith("dark");
        if (setup == "double") {
            frame.grid.at(0, 0).height = VfdCell::DoubleTop;
            frame.grid.at(1, 0).height = VfdCell::DoubleBottom;
        }
        VfdScreenView screen;
        screen.setFrame(frame);
        QCOMPARE(screen.sizeHint(), QSize(588, 104)); // 4 pixels a dot, as vfddemo's window has it
        screen.resize(screen.sizeHint());
        const QImage image = screen.grab().toImage().convertToFormat(QImage::Format_RGB32);
        QStringList drawn;
        for (int dotRow = fromRow; dotRow < fromRow + int(dots.count(u' ')) + 1; ++dotRow) {
            QString text;
            for (int dot = 0; dot < kGlyphColumns; ++dot)
                text += qGreen(image.pixel(screen.dotRect(row, column, dotRow, dot).center().toPoint())) > 140
                            ? u'#'
                            : u'.';
            drawn.append(text);
        }
        QCOMPARE(drawn.join(u' '), dots);
    }
};

QTEST_MAIN(VfdScreenViewTest)
#include "test_vfd_screen_view.moc"
