#pragma once

#include "sim/display_code_page.h"

#include <QByteArray>
#include <QWidget>

// The glass of a VQ71xx display: two lines of 20 character cells, each 5x7 dots, one dot of space
// between cells and two between the lines. Lit dots glow cyan-green on the dark glass, unlit dots
// stay faintly visible as on the real tube, and the whole screen dims with the brightness setting.
class VfdScreen : public QWidget
{
    Q_OBJECT

public:
    static constexpr int kColumns = 20;
    static constexpr int kLines = 2;

    explicit VfdScreen(QWidget* parent = nullptr);

    // The 40 bytes on the screen, line 1 then line 2 (shorter is filled with spaces).
    void setContent(const QByteArray& bytes);
    QByteArray content() const { return content_; }
    void setCodePage(const DisplayCodePage& codePage);
    // 100, 75, 50 or 25 (percent).
    void setBrightness(int percent);
    int brightness() const { return brightness_; }
    // False while the display is off or restarting: no dot is lit.
    void setLit(bool lit);
    bool lit() const { return lit_; }
    // The cell under which an underline cursor shows, or -1 for none.
    void setCursorCell(int cell);

    // Where the dot (row, column) of cell `cell` (0..39) is drawn, in widget coordinates.
    QRectF dotRect(int cell, int row, int column) const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    double pitch() const;
    QPointF origin() const;

    QByteArray content_ = QByteArray(kColumns * kLines, ' ');
    DisplayCodePage codePage_;
    int brightness_ = 100;
    bool lit_ = true;
    int cursorCell_ = -1;
};
