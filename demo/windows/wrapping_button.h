#pragma once

#include <QPushButton>

// A push button whose caption wraps onto a second line, so that long command names fit a column
// without being cut off.
class WrappingButton : public QPushButton
{
    Q_OBJECT
public:
    explicit WrappingButton(const QString& caption, QWidget* parent = nullptr);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QRect textArea(const QRect& outer) const;
};
