#pragma once

#include <QWidget>
#include <functional>

class ReceiptStrip;

// The printer's paper as a strip beside the screen: the newest line at the bottom, at the tear-off
// edge, older ones above it; bold, double-height and double-width text drawn as printed.
class ReceiptStripView : public QWidget
{
    Q_OBJECT
public:
    explicit ReceiptStripView(const ReceiptStrip& strip, QWidget* parent = nullptr);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const ReceiptStrip& strip_;
};
