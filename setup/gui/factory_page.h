#pragma once

#include "setup/gui/page_context.h"

#include <QWidget>
#include <optional>

class QLabel;
class QPushButton;
class QSlider;

// The page no tab shows: the "Factory Adjustment Tool" frame. Each move of the "Balance" slider
// sends the position to the display at once; "Write" makes the display store it.
class FactoryPage : public QWidget
{
    Q_OBJECT

public:
    FactoryPage(PageContext context, QWidget* parent = nullptr);

    void sendBalance();
    void storeBalance();

private:
    // Starts a cycle for the pending position when the port is free; otherwise it waits for the
    // operation that holds the port to finish.
    void startPendingBalance();

    PageContext context_;
    // A move that arrived while a cycle (or another operation) held the port; only the latest is kept.
    std::optional<int> pendingBalance_;
    QSlider* balanceSlider_;
    QLabel* balanceCaption_;
    QLabel* notice_;
    QPushButton* storeButton_;
};
