#pragma once

#include "vfd_frame.h"

#include <QTimer>
#include <QWidget>
#include <functional>

// A vacuum-fluorescent dot-matrix screen: 5 x 7 dots per character, glowing cyan-green on dark glass,
// dimmer at the lower brightness levels, dark in the off half of a blink, reversed characters lit around
// their dots, the cursor as a line of dots under its cell. It asks its source for the frame at every
// repaint and repaints often enough for blinking, moving lines and running clocks.
class VfdScreenView : public QWidget
{
    Q_OBJECT
public:
    // Distance between two dots, in pixels.
    static constexpr int DotPitch = 4;

    explicit VfdScreenView(QWidget* parent = nullptr);

    void setFrameSource(std::function<VfdFrame()> source, int rows, int columns);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::function<VfdFrame()> source_;
    int rows_ = 2;
    int columns_ = 20;
    QTimer animation_;
};
