#include "widgets/vfd_screen_view.h"

#include "widgets/vfd_glyphs.h"

#include <QLinearGradient>
#include <QList>
#include <QPainter>
#include <QRadialGradient>
#include <algorithm>

namespace {

QColor mix(const QColor& from, const QColor& to, double share)
{
    return QColor::fromRgbF(from.redF() + (to.redF() - from.redF()) * share,
                            from.greenF() + (to.greenF() - from.greenF()) * share,
                            from.blueF() + (to.blueF() - from.blueF()) * share);
}

int brightnessLevel(int brightness)
{
    return std::clamp(brightness, 1, 4) - 1;
}

} // namespace

VfdScreenView::VfdScreenView(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    animation_.setInterval(50);
    connect(&animation_, &QTimer::timeout, this, qOverload<>(&QWidget::update));
}

void VfdScreenView::setScreenStyle(const VfdScreenStyle& style)
{
    style_ = style;
    setSizePolicy(style_.scalable ? QSizePolicy::Expanding : QSizePolicy::Preferred, QSizePolicy::Preferred);
    updateGeometry();
    update();
}

void VfdScreenView::setFrame(const VfdFrame& frame)
{
    const bool wasSource = bool(source_);
    source_ = nullptr;
    animation_.stop();
    if (!wasSource && frame == frame_)
        return;
    frame_ = frame;
    setShape(frame.grid.rows(), frame.grid.columns());
    update();
}

void VfdScreenView::setFrameSource(std::function<VfdFrame()> source, int rows, int columns)
{
    source_ = std::move(source);
    setShape(rows, columns);
    animation_.start();
    update();
}

VfdFrame VfdScreenView::frame() const
{
    return source_ ? source_() : frame_;
}

void VfdScreenView::setShape(int rows, int columns)
{
    if (rows == rows_ && columns == columns_)
        return;
    rows_ = rows;
    columns_ = columns;
    updateGeometry();
}

// A line is the character's seven dot rows, the cursor's row where the style has one, and the gap.
int VfdScreenView::linePitch() const
{
    return kGlyphRows + (style_.cursorRow ? 1 : 0) + style_.lineGap;
}

int VfdScreenView::dotsWide() const
{
    return columns_ * (kGlyphColumns + style_.characterGap) - style_.characterGap;
}

int VfdScreenView::dotsHigh() const
{
    return rows_ * linePitch() - style_.lineGap;
}

double VfdScreenView::pitch() const
{
    if (!style_.scalable)
        return style_.dotPitch;
    const double wide = dotsWide() + 2 * style_.margin;
    const double high = dotsHigh() + 2 * style_.margin;
    return std::max(1.0, std::min(width() / wide, height() / high));
}

// The top left corner of the first dot's square; the dots sit in the middle of the widget.
QPointF VfdScreenView::origin() const
{
    const double p = pitch();
    return {(width() - dotsWide() * p) / 2, (height() - dotsHigh() * p) / 2};
}

QRectF VfdScreenView::dotRect(int row, int column, int dotRow, int dot) const
{
    const double p = pitch();
    const QPointF o = origin();
    const int x = column * (kGlyphColumns + style_.characterGap) + dot;
    const int y = row * linePitch() + dotRow;
    // A dot fills most of its pitch; the dark rim between dots is what makes the matrix visible.
    const double size = p * style_.dotSize;
    return {o.x() + x * p + (p - size) / 2, o.y() + y * p + (p - size) / 2, size, size};
}

QSize VfdScreenView::sizeHint() const
{
    const double p = style_.dotPitch;
    return QSizeF((dotsWide() + 2 * style_.margin) * p, (dotsHigh() + 2 * style_.margin) * p).toSize();
}

QSize VfdScreenView::minimumSizeHint() const
{
    if (!style_.scalable)
        return sizeHint();
    const double p = (style_.dotPitch + 1) / 2;
    return QSizeF((dotsWide() + 2 * style_.margin) * p, (dotsHigh() + 2 * style_.margin) * p).toSize();
}

bool VfdScreenView::dotLit(const VfdCell& cell, const VfdGlyph& glyph, int dotRow, int dot) const
{
    // Over two rows a double-height character spreads its seven rows over both cells and the dot rows
    // between them.
    const int doubleRows = linePitch() + kGlyphRows;
    bool on = false;
    if (cell.height == VfdCell::DoubleTop)
        on = glyphDot(glyph, dotRow * kGlyphRows / doubleRows, dot);
    else if (cell.height == VfdCell::DoubleBottom && dotRow < kGlyphRows)
        on = glyphDot(glyph, (dotRow + linePitch()) * kGlyphRows / doubleRows, dot);
    else if (dotRow < kGlyphRows)
        on = glyphDot(glyph, dotRow, dot);
    if (dotRow < kGlyphRows || cell.height == VfdCell::DoubleTop)
        on = on != cell.reverse;
    return on;
}

VfdScreenView::Dots VfdScreenView::dotsOf(const VfdFrame& shown) const
{
    Dots dots;
    const int cursorDotRow = style_.cursorRow ? kGlyphRows : kGlyphRows - 1;
    for (int row = 0; row < std::min(rows_, shown.grid.rows()); ++row) {
        for (int column = 0; column < std::min(columns_, shown.grid.columns()); ++column) {
            const VfdCell& cell = shown.grid.at(row, column);
            const VfdGlyph glyph = glyphFor(cell.character);
            const bool cursorHere =
                shown.cursorShown && shown.cursorRow == row && shown.cursorColumn == column;
            // The character's rows, the cursor's, and for the upper half of a double character the gap
            // below it too.
            const int dotRows = cell.height == VfdCell::DoubleTop ? linePitch() : cursorDotRow + 1;
            for (int dotRow = 0; dotRow < dotRows; ++dotRow) {
                for (int dot = 0; dot < kGlyphColumns; ++dot) {
                    const bool cursorDot =
                        cursorHere && dotRow == cursorDotRow && cell.height != VfdCell::DoubleTop;
                    const QRectF place = dotRect(row, column, dotRow, dot);
                    if (!shown.lit || !(cursorDot || dotLit(cell, glyph, dotRow, dot))) {
                        dots.unlit.append(place);
                        continue;
                    }
                    dots.lit.append(place);
                    // A reversed character keeps its dark dots clear of the glow, or it cannot be read.
                    if (!cell.reverse)
                        dots.glowing.append(place);
                }
            }
        }
    }
    return dots;
}

void VfdScreenView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QLinearGradient glass(0, 0, 0, height());
    glass.setColorAt(0, style_.glassTop);
    glass.setColorAt(1, style_.glassBottom);
    painter.fillRect(rect(), glass);
    painter.setPen(Qt::NoPen);

    const VfdFrame shown = frame();
    const int level = brightnessLevel(shown.brightness);
    const double p = pitch();
    const double roundness = std::clamp(style_.dotRoundness, 0.0, 1.0);
    const double radius = p * style_.dotSize / 2 * roundness;
    const auto drawDots = [&](const QList<QRectF>& dots, const QColor& colour) {
        painter.setBrush(colour);
        for (const QRectF& dot : dots) {
            if (roundness >= 1.0)
                painter.drawEllipse(dot);
            else
                painter.drawRoundedRect(dot, radius, radius);
        }
    };
    // The unlit dots first, so that a glow is never covered by a neighbour's unlit dot; the glow then
    // goes over the lit dots, or under them where the style lets it only spread onto the glass.
    const Dots dots = dotsOf(shown);
    const QColor lit = mix(style_.unlitDot, style_.litDot, style_.light[level]);
    drawDots(dots.unlit, style_.unlitDot);
    if (style_.glowOverDots)
        drawDots(dots.lit, lit);
    drawGlow(painter, dots.glowing, level);
    if (!style_.glowOverDots)
        drawDots(dots.lit, lit);
}

void VfdScreenView::drawGlow(QPainter& painter, const QList<QRectF>& dots, int level) const
{
    QColor glow = style_.litDot;
    glow.setAlphaF(style_.glow[level]);
    const double reach = pitch() * style_.glowRadius;
    // Over the dots the glow is added to their light, so that neighbouring dots melt together.
    if (style_.glowOverDots)
        painter.setCompositionMode(QPainter::CompositionMode_Plus);
    for (const QRectF& dot : dots) {
        QRadialGradient spread(dot.center(), reach);
        spread.setColorAt(0, glow);
        spread.setColorAt(1, Qt::transparent);
        painter.setBrush(spread);
        painter.drawEllipse(dot.center(), reach, reach);
    }
}
