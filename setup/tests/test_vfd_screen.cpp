// The screen of the simulated display: which decoder draws the upper half for each stored code
// page, the 5x7 font (ASCII, accented letters, rasterized signs), the dots the screen widget lights
// for a character on the VQ71xx glass, and its brightness levels.
#include "gui/simulated_display_window.h"
#include "sim/display_code_page.h"
#include "widgets/vfd_glyphs.h"
#include "widgets/vfd_screen_view.h"

#include <QSet>
#include <QTest>
#include <algorithm>

namespace {

// The dots the screen has drawn lit in cell `cell`, read back from its picture.
// Where dot (row, column) of cell `cell` (0..39, line 1 then line 2) is drawn.
QRectF DotRect(const VfdScreenView& screen, int cell, int row, int column)
{
    return screen.dotRect(cell / 20, cell % 20, row, column);
}

VfdGlyph DrawnDots(const VfdScreenView& screen, const QImage& image, int cell)
{
    VfdGlyph dots{};
    for (int row = 0; row < kGlyphRows; ++row)
        for (int column = 0; column < kGlyphColumns; ++column)
            if (qGreen(image.pixel(DotRect(screen, cell, row, column).center().toPoint())) > 80)
                dots[row] |= quint8(1 << (kGlyphColumns - 1 - column));
    return dots;
}

VfdGlyph Pattern(const QStringList& rows)
{
    VfdGlyph glyph{};
    for (int row = 0; row < kGlyphRows; ++row)
        for (int column = 0; column < kGlyphColumns; ++column)
            if (rows.at(row).at(column) == QLatin1Char('#'))
                glyph[row] |= quint8(1 << (kGlyphColumns - 1 - column));
    return glyph;
}

int LitDots(const VfdGlyph& glyph)
{
    int lit = 0;
    for (quint8 row : glyph)
        lit += qPopulationCount(row);
    return lit;
}

QImage Drawn(VfdScreenView& screen)
{
    screen.resize(screen.sizeHint());
    return screen.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

} // namespace

class VfdScreenTest : public QObject
{
    Q_OBJECT

private slots:
    void upperHalfFollowsTheStoredCodePage_data()
    {
        QTest::addColumn<int>("code");
        QTest::addColumn<int>("byte");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<bool>("drawnAsPC437");
        QTest::newRow("PC437 9B") << 0 << 0x9B << "¢" << false;
        QTest::newRow("PC850 9B") << 2 << 0x9B << "ø" << false;
        QTest::newRow("WPC1252 9B") << 16 << 0x9B << "›" << false;
        QTest::newRow("Katakana B1") << 1 << 0xB1 << "ｱ" << false;
        QTest::newRow("Katakana DF, the last half-width sign") << 1 << 0xDF << "ﾟ" << false;
        QTest::newRow("Katakana 81, a lead byte alone is blank") << 1 << 0x81 << "" << false;
        QTest::newRow("PC850 80") << 2 << 0x80 << "Ç" << false;
        QTest::newRow("PC858 80") << 19 << 0x80 << "Ç" << false;
        QTest::newRow("PC858 D5 is the euro") << 19 << 0xD5 << "€" << false;
        QTest::newRow("PC850 D5 is the dotless i") << 2 << 0xD5 << "ı" << false;
        QTest::newRow("PC860 84") << 3 << 0x84 << "ã" << false;
        QTest::newRow("PC863 86") << 4 << 0x86 << "¶" << false;
        QTest::newRow("PC865 9B") << 5 << 0x9B << "ø" << false;
        QTest::newRow("Russian 80") << 7 << 0x80 << "А" << false;
        QTest::newRow("Greek 80") << 12 << 0x80 << "Α" << false;
        QTest::newRow("WPC1257 E0") << 65 << 0xE0 << "ą" << false;
        QTest::newRow("WPC1252 81 is undefined") << 16 << 0x81 << "" << false;
        QTest::newRow("Slavonic falls back") << 6 << 0x9B << "¢" << true;
        QTest::newRow("not set falls back") << 255 << 0x9B << "¢" << true;
        QTest::newRow("unknown code falls back") << 42 << 0xD5 << "╒" << true;
        QTest::newRow("ASCII is ASCII under Katakana") << 1 << 0x41 << "A" << false;
        QTest::newRow("ASCII is ASCII under Russian") << 7 << 0x7E << "~" << false;
        QTest::newRow("a control byte is blank") << 0 << 0x1B << "" << false;
    }
    void upperHalfFollowsTheStoredCodePage()
    {
        QFETCH(int, code);
        QFETCH(int, byte);
        QFETCH(QString, shown);
        QFETCH(bool, drawnAsPC437);
        const DisplayCodePage codePage(code);
        const QChar c = codePage.character(static_cast<quint8>(byte));
        QCOMPARE(c.isNull() ? QString() : QString(c), shown);
        QCOMPARE(!codePage.note().isEmpty(), drawnAsPC437);
        if (drawnAsPC437) {
            QCOMPARE(codePage.decoderName(), QByteArray("IBM437"));
            QVERIFY(codePage.note().contains(QLatin1String("drawn as PC437")));
        }
    }

    void asciiFontIsComplete()
    {
        QSet<QByteArray> seen;
        for (int c = 0x20; c <= 0x7F; ++c) {
            const VfdGlyph glyph = asciiGlyph(char32_t(c));
            for (quint8 row : glyph)
                QVERIFY2(row < 32, qPrintable(QStringLiteral("0x%1 wider than 5 dots").arg(c, 0, 16)));
            QCOMPARE(LitDots(glyph) == 0, c == 0x20);
            const QByteArray key(reinterpret_cast<const char*>(glyph.data()), kGlyphRows);
            QVERIFY2(!seen.contains(key), qPrintable(QStringLiteral("0x%1 repeats a glyph").arg(c, 0, 16)));
            seen.insert(key);
        }
        QCOMPARE(LitDots(glyphFor(U'\0')), 0);
        QCOMPARE(LitDots(glyphFor(U'\x1B')), 0);
    }

    void charactersBeyondAscii_data()
    {
        QTest::addColumn<QString>("character");
        QTest::addColumn<QString>("letter");
        // With a letter: the accented form of that ASCII letter. Without: a sign of its own.
        const QList<std::pair<const char*, const char*>> rows{{"é", "e"}, {"ü", "u"}, {"ñ", "n"}, {"Ü", "U"},
                                                              {"Ä", "A"}, {"ç", "c"}, {"š", "s"}, {"€", ""},
                                                              {"ø", ""},  {"Ж", ""},  {"Ω", ""},  {"ｱ", ""}};
        for (const auto& [character, letter] : rows)
            QTest::newRow(character) << QString::fromUtf8(character) << QString::fromUtf8(letter);
    }
    void charactersBeyondAscii()
    {
        QFETCH(QString, character);
        QFETCH(QString, letter);
        const VfdGlyph glyph = glyphFor(character.toUcs4().at(0));
        QVERIFY(LitDots(glyph) >= 5);
        if (letter.isEmpty())
            return;
        const VfdGlyph base = asciiGlyph(letter.at(0).unicode());
        QVERIFY(glyph != base);
        if (letter.at(0).isLower() && letter != QLatin1String("c")) {
            // The small letter keeps its own five rows; the accent takes the two above.
            for (int row = 2; row < kGlyphRows; ++row)
                QCOMPARE(glyph[row], base[row]);
            QVERIFY(glyph[0] != 0);
        }
    }

    void accentedLettersStayApart()
    {
        const QString letters = QStringLiteral("AÄÀÁÂÃÅOÖÒÓÔÕUÜÙÚÛeéèêëaäàáâãåçñ");
        QSet<QByteArray> seen;
        for (QChar c : letters) {
            const VfdGlyph glyph = glyphFor(c.unicode());
            const QByteArray key(reinterpret_cast<const char*>(glyph.data()), kGlyphRows);
            QVERIFY2(!seen.contains(key), qPrintable(QStringLiteral("%1 looks like another letter").arg(c)));
            seen.insert(key);
        }
    }

    void boxDrawingJoinsItsNeighbours()
    {
        // A horizontal line lights a full row and a vertical one a full column, edge to edge.
        const VfdGlyph horizontal = glyphFor(U'\u2500');
        QVERIFY(std::count(horizontal.begin(), horizontal.end(), quint8(0x1F)) >= 1);
        const VfdGlyph vertical = glyphFor(U'\u2502');
        bool fullColumn = false;
        for (int column = 0; column < kGlyphColumns; ++column) {
            bool all = true;
            for (int row = 0; row < kGlyphRows; ++row)
                all = all && glyphDot(vertical, row, column);
            fullColumn = fullColumn || all;
        }
        QVERIFY(fullColumn);
        QCOMPARE(LitDots(glyphFor(U'\u2588')), kGlyphRows * kGlyphColumns); // full block
    }

    void screenLightsTheCharactersDots()
    {
        VfdScreenView screen;
        screen.setScreenStyle(vq71xxScreenStyle());
        QByteArray bytes(40, ' ');
        bytes[0] = 'A';
        bytes[19] = '1';
        bytes[20] = static_cast<char>(0xD5); // the euro sign in PC858
        screen.setFrame(vq71xxScreenFrame(bytes, DisplayCodePage(19), 100, true));
        const QImage image = Drawn(screen);
        QCOMPARE(DrawnDots(screen, image, 0),
                 Pattern({".###.", "#...#", "#...#", "#...#", "#####", "#...#", "#...#"}));
        QCOMPARE(DrawnDots(screen, image, 19),
                 Pattern({"..#..", ".##..", "..#..", "..#..", "..#..", "..#..", ".###."}));
        QCOMPARE(DrawnDots(screen, image, 20), glyphFor(U'\u20AC'));
        for (int cell : {1, 18, 21, 39})
            QCOMPARE(LitDots(DrawnDots(screen, image, cell)), 0);
        // Cells sit a dot apart, and the second line lower than the first by more than a cell.
        const double pitch = DotRect(screen, 0, 0, 1).left() - DotRect(screen, 0, 0, 0).left();
        QVERIFY(qAbs(DotRect(screen, 1, 0, 0).left() - DotRect(screen, 0, 0, 4).left() - 2 * pitch) < 0.5);
        QVERIFY(DotRect(screen, 20, 0, 0).top() - DotRect(screen, 0, 6, 0).top() > 2.5 * pitch);

        screen.setFrame(vq71xxScreenFrame(bytes, DisplayCodePage(2), 100, true));
        QCOMPARE(DrawnDots(screen, Drawn(screen), 20), glyphFor(U'\u0131')); // dotless i
        screen.setFrame(vq71xxScreenFrame(bytes, DisplayCodePage(2), 100, false));
        QCOMPARE(LitDots(DrawnDots(screen, Drawn(screen), 0)), 0);
    }

    void dimmerScreensAreDarker()
    {
        VfdScreenView screen;
        screen.setScreenStyle(vq71xxScreenStyle());
        // The house sign, so every cell has lit dots.
        const QByteArray houses(40, '\x7F');
        int previous = 256;
        for (int percent : {100, 75, 50, 25}) {
            screen.setFrame(vq71xxScreenFrame(houses, DisplayCodePage(), percent, true));
            const QImage image = Drawn(screen);
            const int lit = qGreen(image.pixel(DotRect(screen, 5, 6, 0).center().toPoint()));
            const int unlit = qGreen(image.pixel(DotRect(screen, 5, 0, 0).center().toPoint()));
            QVERIFY2(lit < previous, qPrintable(QStringLiteral("%1 % is not darker").arg(percent)));
            // Even at 25 % a lit dot stands out from the unlit ones, which stay faintly visible.
            QVERIFY(lit > unlit + 40);
            QVERIFY(unlit > qGreen(image.pixel(1, 1)));
            previous = lit;
        }
    }
};

QTEST_MAIN(VfdScreenTest)
#include "test_vfd_screen.moc"
