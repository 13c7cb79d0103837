#pragma once

#include "widgets/vfd_frame.h"
#include "widgets/vfd_glyphs.h"

#include <QColor>
#include <QList>
#include <QTimer>
#include <QWidget>
#include <array>
#include <functional>

class QPainter;

// How the glass of one display model looks: where its dots sit and how they glow. The defaults are
// the KD customer displays of vfddemo; vfdsetup sets the VQ71xx's own.
struct VfdScreenStyle
{
    // Pixels from one dot to the next at the preferred size.
    int dotPitch = 4;
    // Whether the dots grow with the widget (and shrink to half the pitch) or keep their pitch.
    bool scalable = false;
    // Dark dot columns between two characters.
    int characterGap = 2;
    // Dark dot rows between two lines, below the cursor row where there is one.
    int lineGap = 1;
    // Whether each line has an eighth row of dots for the cursor; without one the cursor lights
    // the bottom row of its cell.
    bool cursorRow = true;
    // Glass around the dots, in dots.
    double margin = 4.5;
    // A dot's width as a share of the pitch, and its corners: 1 is round, 0 square.
    double dotSize = 0.84;
    double dotRoundness = 1.0;

    QColor glassTop = QColor(6, 14, 13).lighter(135);
    QColor glassBottom = QColor(6, 14, 13);
    // The phosphor of an unlit dot seen through the glass, and a lit dot at full brightness.
    QColor unlitDot = QColor(20, 44, 40);
    QColor litDot = QColor(110, 255, 215);
    // For brightness 1 to 4: how far a lit dot goes from the unlit colour to the lit one, and how
    // strongly its glow (of the full lit colour) shows.
    std::array<double, 4> light{0.38, 0.58, 0.79, 1.0};
    std::array<double, 4> glow{26 / 255.0, 40 / 255.0, 55 / 255.0, 70 / 255.0};
    // The glow's reach from a dot's centre, in dots.
    double glowRadius = 1.2;
    // Whether the glow is added over the lit dots too, so that neighbouring dots melt together, or
    // only spreads onto the glass around them.
    bool glowOverDots = true;
};

// A vacuum-fluorescent dot-matrix screen: rows x columns character cells of 5 x 7 dots, glowing
// cyan-green on dark glass with the unlit dots faintly visible, dimmer at the lower brightness
// levels, dark while the frame is not lit (the off half of a blink, a display without power),
// reversed characters lit around their dots, double-height characters over two rows, the cursor as
// a line of dots under its cell.
//
// It shows either a frame it is given (repainted when a different one comes), or the frames of a
// source it asks at every repaint, repainting often enough for blinking, moving lines and clocks.
class VfdScreenView : public QWidget
{
    Q_OBJECT
public:
    explicit VfdScreenView(QWidget* parent = nullptr);

    void setScreenStyle(const VfdScreenStyle& style);
    const VfdScreenStyle& screenStyle() const { return style_; }

    // Shows `frame` until the next one; its grid gives the rows and columns.
    void setFrame(const VfdFrame& frame);
    // Shows what `source` returns, asked at every repaint, on a screen of `rows` x `columns`.
    void setFrameSource(std::function<VfdFrame()> source, int rows, int columns);
    // What the screen shows now.
    VfdFrame frame() const;

    // Where dot (dotRow, dot) of the cell at (row, column) is drawn, in widget coordinates; dot
    // rows 0 to 6 are the character's, 7 the cursor's when the style has a cursor row.
    QRectF dotRect(int row, int column, int dotRow, int dot) const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    // Where each dot of a frame goes, by how it is drawn.
    struct Dots
    {
        QList<QRectF> unlit;
        QList<QRectF> lit;
        QList<QRectF> glowing; // lit, and not part of a reversed character
    };

    // Whether a character's glyph lights dot (dotRow, dot) of its cell, reversed and double height as
    // the cell is; the cursor is not counted.
    bool dotLit(const VfdCell& cell, const VfdGlyph& glyph, int dotRow, int dot) const;
    Dots dotsOf(const VfdFrame& shown) const;
    void drawGlow(QPainter& painter, const QList<QRectF>& dots, int level) const;
    int linePitch() const;
    int dotsWide() const;
    int dotsHigh() const;
    double pitch() const;
    QPointF origin() const;
    void setShape(int rows, int columns);

    VfdScreenStyle style_;
    VfdFrame frame_{VfdGrid(2, 20)};
    std::function<VfdFrame()> source_;
    int rows_ = 2;
    int columns_ = 20;
    QTimer animation_;
};
