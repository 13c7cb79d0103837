// The system font's glyphs thresholded into 5 x 7 cells, for the characters the hand-set font lacks.
#include "vfd_font.h"

#include <QFont>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>

namespace {

// Each dot is worked out from a square of this many pixels.
constexpr int Scale = 6;
constexpr int Width = 5 * Scale;
constexpr int Height = 7 * Scale;
// The share of a dot's square the glyph must cover for the dot to light: low enough that thin strokes
// of the font still make a line of dots.
constexpr double Coverage = 0.3;

bool FillsCell(char32_t character)
{
    // Box drawing and block elements join up with their neighbours: they take the whole cell.
    return character >= 0x2500 && character <= 0x259F;
}

} // namespace

VfdGlyph RasteriseGlyph(char32_t character)
{
    VfdGlyph glyph{};
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) == nullptr) {
        return glyph;
    }
    QString text = QString::fromUcs4(&character, 1);
    // The half-width Katakana of the display's table are the same letters as the full-width ones,
    // which far more fonts have.
    if (character >= 0xFF61 && character <= 0xFF9F) {
        text = text.normalized(QString::NormalizationForm_KC);
    }
    QFont font(QStringLiteral("DejaVu Sans Mono"));
    font.setStyleHint(QFont::Monospace);
    font.setPixelSize(64);
    QPainterPath path;
    path.addText(0, 0, font, text);
    const QRectF box = path.boundingRect();
    if (box.isEmpty()) {
        return glyph;
    }
    const QFontMetricsF metrics(font);
    QRectF source;
    if (FillsCell(character)) {
        source = QRectF(0, -metrics.ascent(), metrics.horizontalAdvance(text),
                        metrics.ascent() + metrics.descent());
    } else {
        // Capitals fill the cell from top to bottom; a glyph reaching further gets squeezed to fit.
        source = box.united(QRectF(box.left(), -metrics.capHeight(), box.width(), metrics.capHeight()));
    }
    const double scaleY = Height / source.height();
    double scaleX = FillsCell(character) ? Width / source.width() : qMin(scaleY, Width / source.width());
    const double left = FillsCell(character) ? 0.0 : (Width - source.width() * scaleX) / 2;

    QImage image(Width, Height, QImage::Format_Grayscale8);
    image.fill(0);
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.translate(left, 0);
        painter.scale(scaleX, scaleY);
        painter.translate(-source.left(), -source.top());
        painter.fillPath(path, Qt::white);
    }
    for (int row = 0; row < 7; ++row) {
        for (int column = 0; column < 5; ++column) {
            int sum = 0;
            for (int y = 0; y < Scale; ++y) {
                const uchar* line = image.constScanLine(row * Scale + y);
                for (int x = 0; x < Scale; ++x) {
                    sum += line[column * Scale + x];
                }
            }
            if (sum >= Coverage * 255 * Scale * Scale) {
                glyph[row] |= std::uint8_t(1 << (4 - column));
            }
        }
    }
    return glyph;
}
