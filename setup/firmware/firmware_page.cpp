#include "firmware_page.h"

#include <QVBoxLayout>

FirmwarePage::FirmwarePage(PageContext context, QWidget* parent)
    : QWidget(parent), context_(std::move(context))
{
    new QVBoxLayout(this);
}

void FirmwarePage::Text1_Change(int) {}
