// Which glyph a character gets: hand-set ASCII, accented letters built on it, the system font for the rest.
#include "vfd_font.h"

#include <QHash>
#include <QList>
#include <QString>
#include <optional>

namespace {

// An accent above the letter (two rows, the second may be empty) or a mark below it (one row).
struct Mark
{
    char32_t code;
    bool below;
    std::uint8_t rows[2];
};

constexpr Mark Marks[] = {
    {0x0300, false, {0x08, 0x04}}, // grave
    {0x0301, false, {0x02, 0x04}}, // acute
    {0x0302, false, {0x04, 0x0A}}, // circumflex
    {0x0303, false, {0x0D, 0x12}}, // tilde
    {0x0304, false, {0x0E, 0x00}}, // macron
    {0x0306, false, {0x11, 0x0E}}, // breve
    {0x0307, false, {0x04, 0x00}}, // dot above
    {0x0308, false, {0x0A, 0x00}}, // diaeresis
    {0x030A, false, {0x06, 0x06}}, // ring
    {0x030B, false, {0x05, 0x0A}}, // double acute
    {0x030C, false, {0x0A, 0x04}}, // caron
    {0x0327, true, {0x04, 0x00}},  // cedilla
    {0x0328, true, {0x02, 0x00}},  // ogonek
};

const Mark* FindMark(char32_t code)
{
    for (const Mark& mark : Marks) {
        if (mark.code == code) {
            return &mark;
        }
    }
    return nullptr;
}

// Drops rows until `rows` has `count` left: first a row that repeats its neighbour (nearest the middle),
// which loses no shape, otherwise the second row and then the one before last.
QList<std::uint8_t> Squeeze(QList<std::uint8_t> rows, int count)
{
    while (rows.size() > count) {
        int drop = -1;
        const int middle = int(rows.size()) / 2;
        for (int i = 0; i + 1 < rows.size(); ++i) {
            if (rows[i] == rows[i + 1] && (drop < 0 || qAbs(i - middle) < qAbs(drop - middle))) {
                drop = i;
            }
        }
        if (drop < 0) {
            drop = rows.size() % 2 == 1 ? 1 : int(rows.size()) - 2;
        }
        rows.removeAt(drop);
    }
    return rows;
}

// The letter's dots from its first lit row down; i and j lose their dot, which the accent replaces.
QList<std::uint8_t> Body(char32_t base)
{
    const VfdGlyph& glyph = AsciiGlyph(base);
    int first = (base == U'i' || base == U'j') ? 2 : 0;
    while (first < 6 && glyph[first] == 0) {
        ++first;
    }
    return QList<std::uint8_t>(glyph.begin() + first, glyph.end());
}

std::optional<VfdGlyph> Accented(char32_t character)
{
    const QList<uint> parts =
        QString::fromUcs4(&character, 1).normalized(QString::NormalizationForm_D).toUcs4();
    if (parts.size() < 2 || parts[0] > 0x7E || !QChar::isLetter(parts[0])) {
        return std::nullopt;
    }
    const Mark* mark = FindMark(parts[1]);
    if (mark == nullptr) {
        return std::nullopt;
    }
    VfdGlyph glyph{};
    if (mark->below) {
        // Letter on rows 0 to 5, its foot on row 5; the mark on row 6.
        const QList<std::uint8_t> body = Squeeze(Body(parts[0]), 6);
        const int top = 6 - int(body.size());
        for (int i = 0; i < body.size(); ++i) {
            glyph[top + i] = body[i];
        }
        glyph[6] = mark->rows[0];
        return glyph;
    }
    // Accent on rows 0 and 1, letter on rows 2 to 6.
    const QList<std::uint8_t> body = Squeeze(Body(parts[0]), 5);
    const int top = 7 - int(body.size());
    for (int i = 0; i < body.size(); ++i) {
        glyph[top + i] = body[i];
    }
    glyph[0] = mark->rows[0];
    glyph[1] |= mark->rows[1];
    return glyph;
}

} // namespace

VfdGlyph GlyphFor(char32_t character)
{
    if (character >= 0x20 && character <= 0x7E) {
        return AsciiGlyph(character);
    }
    static QHash<char32_t, VfdGlyph> known;
    const auto found = known.constFind(character);
    if (found != known.constEnd()) {
        return *found;
    }
    const VfdGlyph glyph = Accented(character).value_or(
        character < 0x20 || character == 0xA0 ? AsciiGlyph(U' ') : RasteriseGlyph(character));
    known.insert(character, glyph);
    return glyph;
}
