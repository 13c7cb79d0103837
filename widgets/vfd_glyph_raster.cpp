#include "widgets/vfd_glyph_raster.h"

#include <QFont>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>

namespace {

constexpr int kScale = 8; // pixels per dot while drawing

// Box-drawing characters and blocks are drawn to the edges of the cell so that they join.
bool fillsCell(char32_t character)
{
    return character >= 0x2500 && character <= 0x259F;
}

// Moves the ink of `text`, drawn at the origin, onto the 5x7 cell scaled by kScale.
QTransform toCell(char32_t character, const QString& text, const QFont& font, const QRectF& ink)
{
    const QFontMetricsF metrics(font);
    const QSizeF cell(kGlyphColumns * kScale, kGlyphRows * kScale);
    QTransform transform;
    if (fillsCell(character)) {
        const QRectF box(0, -metrics.ascent(), metrics.horizontalAdvance(text),
                         metrics.ascent() + metrics.descent());
        transform.scale(cell.width() / box.width(), cell.height() / box.height());
        transform.translate(-box.left(), -box.top());
        return transform;
    }
    // Capitals fill the height; an accent above or a tail below squeezes the letter instead of being cut
    // off. The width keeps the letter's proportions unless it would overflow.
    const double top = std::min(-metrics.capHeight(), ink.top());
    const double bottom = std::max(0.0, ink.bottom());
    const double sy = cell.height() / (bottom - top);
    const double sx = std::min(sy, cell.width() / ink.width());
    transform.translate(cell.width() / 2, 0);
    transform.scale(sx, sy);
    transform.translate(-ink.center().x(), -top);
    return transform;
}

// A dot lights when most of its square is inked: strokes come out one dot wide, an overshoot lights
// nothing above a small letter, and the two lines of a double box line stay apart.
VfdGlyph dotsOf(const QImage& image)
{
    VfdGlyph glyph{};
    for (int row = 0; row < kGlyphRows; ++row) {
        for (int column = 0; column < kGlyphColumns; ++column) {
            int inked = 0;
            for (int y = 0; y < kScale; ++y) {
                const uchar* line = image.constScanLine(row * kScale + y);
                for (int x = 0; x < kScale; ++x)
                    inked += line[column * kScale + x];
            }
            if (inked > 255 * kScale * kScale * 2 / 5)
                glyph[row] |= quint8(1 << (kGlyphColumns - 1 - column));
        }
    }
    return glyph;
}

} // namespace

bool rasterizerAvailable()
{
    return qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr;
}

VfdGlyph rasterizedGlyph(char32_t character)
{
    if (!rasterizerAvailable())
        return {};
    QString text = QString::fromUcs4(&character, 1);
    // The half-width Katakana of the display's tables are the same letters as the full-width ones,
    // which far more fonts have.
    if (character >= 0xFF61 && character <= 0xFF9F)
        text = text.normalized(QString::NormalizationForm_KC);
    // The regular weight, whose strokes come out one dot wide as in the hand-set letters.
    QFont font(QStringLiteral("DejaVu Sans Mono"));
    font.setStyleHint(QFont::Monospace);
    font.setPixelSize(100);
    QPainterPath path;
    path.addText(0, 0, font, text);
    const QRectF ink = path.boundingRect();
    if (path.isEmpty() || ink.isEmpty())
        return {};
    QImage image(kGlyphColumns * kScale, kGlyphRows * kScale, QImage::Format_Grayscale8);
    image.fill(0);
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setTransform(toCell(character, text, font, ink));
        painter.fillPath(path, Qt::white);
    }
    return dotsOf(image);
}
