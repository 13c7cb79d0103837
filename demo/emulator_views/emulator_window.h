#pragma once

#include "demo/model/display_product.h"

#include <QWidget>

class CustomerDisplayEmulator;
class QLabel;
class QPlainTextEdit;
class ReceiptStripView;
class VfdScreenView;

// "Simulated display": the screen of the model the demonstration drives, the receipt strip of the
// KD-426's printer beside it, and the bytes the display did not understand below.
class EmulatorWindow : public QWidget
{
    Q_OBJECT
public:
    explicit EmulatorWindow(CustomerDisplayEmulator& emulator);

    // Shows the window beside `neighbour` (once; afterwards it stays where the person put it).
    void showBeside(QWidget* neighbour);

    VfdScreenView* screen() const { return screen_; }
    ReceiptStripView* receipt() const { return receipt_; }

private:
    void showModel(DisplayProduct model);
    void refreshLog();

    CustomerDisplayEmulator& emulator_;
    QLabel* model_;
    VfdScreenView* screen_;
    ReceiptStripView* receipt_;
    QPlainTextEdit* log_;
    bool placed_ = false;
};
