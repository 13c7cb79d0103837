#include "gui/vfd_screen.h"

#include "widgets/vfd_glyphs.h"

#include <QLinearGradient>
#include <QList>
#include <QPainter>
#include <QRadialGradient>
#include <algorithm>

namespace {

// The screen in dots: 20 cells of 5 with a dot between them, two lines of 7 with two dots between,
// and a margin of two dots of glass around it all.
constexpr int kMargin = 2;
constexpr int kCellPitch = kGlyphColumns + 1;
constexpr int kLinePitch = kGlyphRows + 2;
constexpr int kDotsWide = VfdScreen::kColumns * kCellPitch - 1 + 2 * kMargin;
constexpr int kDotsHigh = VfdScreen::kLines * kLinePitch - 2 + 2 * kMargin;

const QColor kGlow(80, 255, 210);   // a lit dot at full brightness
const QColor kUnlit(16, 38, 35);    // the phosphor of an unlit dot, seen through the glass
const QColor kGlassTop(10, 22, 22); // the dark glass, slightly lighter at the top
const QColor kGlassBottom(3, 8, 9);

QColor Dimmed(const QColor& color, double factor)
{
    return QColor::fromRgbF(color.redF() * factor, color.greenF() * factor, color.blueF() * factor);
}

} // namespace

VfdScreen::VfdScreen(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
}

void VfdScreen::setContent(const QByteArray& bytes)
{
    QByteArray padded = bytes.left(kColumns * kLines);
    padded.append(QByteArray(kColumns * kLines - padded.size(), ' '));
    if (padded == content_)
        return;
    content_ = padded;
    update();
}

void VfdScreen::setCodePage(const DisplayCodePage& codePage)
{
    if (codePage.code() == codePage_.code())
        return;
    codePage_ = codePage;
    update();
}

void VfdScreen::setBrightness(int percent)
{
    percent = std::clamp(percent, 0, 100);
    if (percent == brightness_)
        return;
    brightness_ = percent;
    update();
}

void VfdScreen::setLit(bool lit)
{
    if (lit == lit_)
        return;
    lit_ = lit;
    update();
}

void VfdScreen::setCursorCell(int cell)
{
    if (cell == cursorCell_)
        return;
    cursorCell_ = cell;
    update();
}

double VfdScreen::pitch() const
{
    return std::max(1.0, std::min(width() / double(kDotsWide), height() / double(kDotsHigh)));
}

QPointF VfdScreen::origin() const
{
    const double p = pitch();
    return {(width() - kDotsWide * p) / 2 + kMargin * p, (height() - kDotsHigh * p) / 2 + kMargin * p};
}

QRectF VfdScreen::dotRect(int cell, int row, int column) const
{
    const double p = pitch();
    const int x = (cell % kColumns) * kCellPitch + column;
    const int y = (cell / kColumns) * kLinePitch + row;
    // A dot fills most of its pitch; the dark rim between dots is what makes the matrix visible.
    const double size = p * 0.78;
    const QPointF o = origin();
    return {o.x() + x * p + (p - size) / 2, o.y() + y * p + (p - size) / 2, size, size};
}

QSize VfdScreen::sizeHint() const
{
    return {kDotsWide * 6, kDotsHigh * 6};
}

QSize VfdScreen::minimumSizeHint() const
{
    return {kDotsWide * 3, kDotsHigh * 3};
}

void VfdScreen::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QLinearGradient glass(0, 0, 0, height());
    glass.setColorAt(0, kGlassTop);
    glass.setColorAt(1, kGlassBottom);
    painter.fillRect(rect(), glass);
    painter.setPen(Qt::NoPen);

    // Brightness sets the filament drive: lit dots dim, unlit ones stay as the glass shows them.
    const double level = brightness_ / 100.0;
    const QColor lit = Dimmed(kGlow, 0.45 + 0.55 * level);
    QColor halo = lit;
    halo.setAlphaF(0.35 * level);
    const double radius = pitch() * 0.2;

    // Unlit dots first, then the lit ones with their glow, so a glow is never covered by a
    // neighbour's unlit dot.
    QList<QRectF> litDots;
    painter.setBrush(kUnlit);
    for (int cell = 0; cell < kColumns * kLines; ++cell) {
        const QChar character = codePage_.character(static_cast<quint8>(content_.at(cell)));
        VfdGlyph glyph = lit_ ? GlyphFor(character) : VfdGlyph{};
        if (lit_ && cell == cursorCell_)
            glyph[kGlyphRows - 1] = 0x1F;
        for (int row = 0; row < kGlyphRows; ++row) {
            for (int column = 0; column < kGlyphColumns; ++column) {
                const QRectF dot = dotRect(cell, row, column);
                if (GlyphDot(glyph, row, column))
                    litDots.append(dot);
                else
                    painter.drawRoundedRect(dot, radius, radius);
            }
        }
    }
    for (const QRectF& dot : litDots) {
        // The glow spreads a little onto the glass around a lit dot.
        QRadialGradient spread(dot.center(), dot.width());
        spread.setColorAt(0, halo);
        spread.setColorAt(1, Qt::transparent);
        painter.setBrush(spread);
        painter.drawEllipse(dot.center(), dot.width(), dot.width());
    }
    painter.setBrush(lit);
    for (const QRectF& dot : litDots)
        painter.drawRoundedRect(dot, radius, radius);
}
