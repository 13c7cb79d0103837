#include "setup/gui/factory_page.h"

#include "setup/gui/operation_runner.h"
#include "setup/operations/factory_adjustment.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QVBoxLayout>

FactoryPage::FactoryPage(PageContext context, QWidget* parent) : QWidget(parent), context_(std::move(context))
{
    auto* frame = new QGroupBox(QStringLiteral("Factory Adjustment Tool"), this);
    frame->setObjectName(QStringLiteral("Frame4"));
    balanceCaption_ = new QLabel(QStringLiteral("Balance"), frame);
    balanceCaption_->setObjectName(QStringLiteral("Label9"));
    balanceSlider_ = new QSlider(Qt::Horizontal, frame);
    balanceSlider_->setObjectName(QStringLiteral("Slider1"));
    balanceSlider_->setRange(kBalanceMinimum, kBalanceMaximum);
    balanceSlider_->setSingleStep(1);
    balanceSlider_->setPageStep(16);
    balanceSlider_->setValue(128); // the middle, where an unadjusted display stands
    balanceSlider_->setTickPosition(QSlider::TicksBelow);
    balanceSlider_->setTickInterval(16);
    balanceSlider_->setMinimumWidth(256);
    storeButton_ = new QPushButton(QStringLiteral("Write"), frame);
    storeButton_->setObjectName(QStringLiteral("ComFatWrtie"));
    notice_ = new QLabel(QStringLiteral("PS: 此調整需在 Epson           指令下設定。"), frame);
    notice_->setObjectName(QStringLiteral("Label4"));

    auto* grid = new QGridLayout(frame);
    grid->addWidget(balanceCaption_, 0, 0);
    grid->addWidget(balanceSlider_, 0, 1);
    grid->addWidget(storeButton_, 0, 2);
    grid->addWidget(notice_, 1, 0, 1, 3);
    grid->setColumnStretch(1, 1);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(frame);
    layout->addStretch(1);

    // The slider stays enabled throughout: moves during a cycle are kept, not lost.
    context_.runner.buttons().add(storeButton_);
    connect(balanceSlider_, &QSlider::valueChanged, this, &FactoryPage::sendBalance);
    connect(storeButton_, &QPushButton::clicked, this, &FactoryPage::storeBalance);
    connect(&context_.runner, &OperationRunner::operationFinished, this, &FactoryPage::startPendingBalance);
}

void FactoryPage::sendBalance()
{
    pendingBalance_ = balanceSlider_->value();
    startPendingBalance();
}

void FactoryPage::startPendingBalance()
{
    if (!pendingBalance_ || context_.runner.busy())
        return;
    const int position = *pendingBalance_;
    if (context_.runner.run(context_.selection(),
                            [position](DisplayAccess& access) { return ::sendBalance(access, position); }))
        pendingBalance_.reset();
}

void FactoryPage::storeBalance()
{
    context_.runner.run(context_.selection(), [](DisplayAccess& access) { return ::storeBalance(access); });
}
