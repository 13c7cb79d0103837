#pragma once

#include "page_context.h"

#include <QWidget>

// The page no tab shows: the "Factory Adjustment Tool" frame.
class FactoryPage : public QWidget
{
    Q_OBJECT

public:
    FactoryPage(PageContext context, QWidget* parent = nullptr);

private:
    PageContext context_;
};
