#pragma once

#include "page_context.h"

#include <QWidget>

// The "Title Set" page: the "Power on Title Page" and "User-defined DEMO" frames.
class TitleSetPage : public QWidget
{
    Q_OBJECT

public:
    TitleSetPage(PageContext context, QWidget* parent = nullptr);
    // Enables the DEMO "Write" exactly when the file box names an existing file.
    void txtDEMOFile_Change();

private:
    PageContext context_;
};
