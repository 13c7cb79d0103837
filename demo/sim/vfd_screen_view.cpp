#include "vfd_screen_view.h"

#include "vfd_font.h"

#include <QPainter>
#include <QRadialGradient>

namespace {

// A cell is five dots and a gap of two wide, seven dots, the cursor's row and a gap high.
constexpr int CellDotsWide = 7;
constexpr int CellDotsHigh = 9;
constexpr int CursorDotRow = 7;
constexpr int Margin = 18;

const QColor Glass(6, 14, 13);
const QColor DarkDot(20, 44, 40);
const QColor LitDot(110, 255, 215);

// The light of brightness levels 1 to 4, as a share of full.
double Light(int brightness)
{
    static const double levels[] = {0.38, 0.58, 0.79, 1.0};
    return levels[qBound(1, brightness, 4) - 1];
}

QColor Mix(const QColor& from, const QColor& to, double share)
{
    return QColor::fromRgbF(from.redF() + (to.redF() - from.redF()) * share,
                            from.greenF() + (to.greenF() - from.greenF()) * share,
                            from.blueF() + (to.blueF() - from.blueF()) * share);
}

// Whether the dot at (dotRow, column) of the cell is lit. A single character uses dot rows 0 to 6; a
// double one spreads its seven rows over both cells, the rows between them included (16 dot rows).
bool DotLit(const VfdCell& cell, int dotRow, int column)
{
    int glyphRow = dotRow;
    if (cell.height == VfdCell::DoubleTop) {
        glyphRow = dotRow * 7 / 16;
    } else if (cell.height == VfdCell::DoubleBottom) {
        glyphRow = (dotRow + CellDotsHigh) * 7 / 16;
    }
    const bool dot = GlyphDot(GlyphFor(cell.character), glyphRow, column);
    return cell.reverse ? !dot : dot;
}

// The dot rows a cell draws: the character's, the cursor's, and for the upper half of a double
// character the gap below it too.
int DotRows(const VfdCell& cell)
{
    return cell.height == VfdCell::DoubleTop ? CellDotsHigh : CellDotsHigh - 1;
}

} // namespace

VfdScreenView::VfdScreenView(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    animation_.setInterval(50);
    connect(&animation_, &QTimer::timeout, this, qOverload<>(&QWidget::update));
    animation_.start();
}

void VfdScreenView::setFrameSource(std::function<VfdFrame()> source, int rows, int columns)
{
    source_ = std::move(source);
    rows_ = rows;
    columns_ = columns;
    updateGeometry();
    update();
}

QSize VfdScreenView::sizeHint() const
{
    return {2 * Margin + (columns_ * CellDotsWide - 2) * DotPitch,
            2 * Margin + (rows_ * CellDotsHigh - 1) * DotPitch};
}

void VfdScreenView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QLinearGradient glass(0, 0, 0, height());
    glass.setColorAt(0, Glass.lighter(135));
    glass.setColorAt(1, Glass);
    painter.fillRect(rect(), glass);
    if (!source_) {
        return;
    }
    const VfdFrame frame = source_();
    const double light = Light(frame.brightness);
    const QColor lit = Mix(DarkDot, LitDot, light);
    QRadialGradient glow(0, 0, DotPitch * 1.2);
    glow.setColorAt(0, QColor(LitDot.red(), LitDot.green(), LitDot.blue(), int(70 * light)));
    glow.setColorAt(1, QColor(LitDot.red(), LitDot.green(), LitDot.blue(), 0));

    // Centred, so a window wider than the screen keeps the glass around it even.
    const QSize used = sizeHint();
    const QPointF origin((width() - used.width()) / 2.0 + Margin, (height() - used.height()) / 2.0 + Margin);
    const double radius = DotPitch * 0.42;
    QList<QPointF> glowing;
    for (int row = 0; row < frame.grid.rows(); ++row) {
        for (int column = 0; column < frame.grid.columns(); ++column) {
            const VfdCell& cell = frame.grid.at(row, column);
            const bool cursorHere =
                frame.cursorShown && frame.cursorRow == row && frame.cursorColumn == column;
            for (int dotRow = 0; dotRow < DotRows(cell); ++dotRow) {
                for (int dot = 0; dot < 5; ++dot) {
                    const bool glyphRow = dotRow < 7 || cell.height == VfdCell::DoubleTop;
                    const bool on = frame.lit && (glyphRow ? DotLit(cell, dotRow, dot)
                                                           : dotRow == CursorDotRow && cursorHere);
                    const QPointF centre = origin + QPointF((column * CellDotsWide + dot) * DotPitch,
                                                            (row * CellDotsHigh + dotRow) * DotPitch);
                    painter.setPen(Qt::NoPen);
                    painter.setBrush(on ? lit : DarkDot);
                    painter.drawEllipse(centre, radius, radius);
                    // A reversed character keeps its dark dots clear of the halo, or it cannot be read.
                    if (on && !cell.reverse) {
                        glowing.append(centre);
                    }
                }
            }
        }
    }
    // The phosphor's halo goes on last, added to what is there, so that neighbouring dots melt together.
    painter.setCompositionMode(QPainter::CompositionMode_Plus);
    for (const QPointF& centre : glowing) {
        painter.save();
        painter.translate(centre);
        painter.setBrush(glow);
        painter.drawEllipse(QPointF(0, 0), DotPitch * 1.2, DotPitch * 1.2);
        painter.restore();
    }
}
