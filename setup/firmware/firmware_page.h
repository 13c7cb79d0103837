#pragma once

#include "page_context.h"

#include <QWidget>

// The "F/W Update" page: the "Firmware Update" frame.
class FirmwarePage : public QWidget
{
    Q_OBJECT

public:
    FirmwarePage(PageContext context, QWidget* parent = nullptr);
    // Enables "DownLoad" exactly when the file box names an existing file (element 0).
    void Text1_Change(int index);

private:
    PageContext context_;
};
