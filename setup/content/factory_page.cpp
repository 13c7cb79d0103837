#include "factory_page.h"

#include <QVBoxLayout>

FactoryPage::FactoryPage(PageContext context, QWidget* parent) : QWidget(parent), context_(std::move(context))
{
    new QVBoxLayout(this);
}
