#include "title_set_page.h"

#include <QVBoxLayout>

TitleSetPage::TitleSetPage(PageContext context, QWidget* parent)
    : QWidget(parent), context_(std::move(context))
{
    new QVBoxLayout(this);
}

void TitleSetPage::txtDEMOFile_Change() {}
