#include "gui/factory_page.h"

#include "gui/operation_runner.h"
#include "operations/factory_adjustment.h"

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
    Label9 = new QLabel(QStringLiteral("Balance"), frame);
    Label9->setObjectName(QStringLiteral("Label9"));
    Slider1 = new QSlider(Qt::Horizontal, frame);
    Slider1->setObjectName(QStringLiteral("Slider1"));
    Slider1->setRange(kBalanceMinimum, kBalanceMaximum);
    Slider1->setSingleStep(1);
    Slider1->setPageStep(16);
    Slider1->setValue(128); // the middle, where an unadjusted display stands
    Slider1->setTickPosition(QSlider::TicksBelow);
    Slider1->setTickInterval(16);
    Slider1->setMinimumWidth(256);
    ComFatWrtie = new QPushButton(QStringLiteral("Write"), frame);
    ComFatWrtie->setObjectName(QStringLiteral("ComFatWrtie"));
    Label4 = new QLabel(QStringLiteral("PS: 此調整需在 Epson           指令下設定。"), frame);
    Label4->setObjectName(QStringLiteral("Label4"));

    auto* grid = new QGridLayout(frame);
    grid->addWidget(Label9, 0, 0);
    grid->addWidget(Slider1, 0, 1);
    grid->addWidget(ComFatWrtie, 0, 2);
    grid->addWidget(Label4, 1, 0, 1, 3);
    grid->setColumnStretch(1, 1);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(frame);
    layout->addStretch(1);

    // The slider stays enabled throughout: moves during a cycle are kept, not lost.
    context_.runner.buttons().add(ComFatWrtie);
    connect(Slider1, &QSlider::valueChanged, this, &FactoryPage::Slider1_Scroll);
    connect(ComFatWrtie, &QPushButton::clicked, this, &FactoryPage::ComFatWrtie_Click);
    connect(&context_.runner, &OperationRunner::operationFinished, this, &FactoryPage::startPendingBalance);
}

void FactoryPage::Slider1_Scroll()
{
    pendingBalance_ = Slider1->value();
    startPendingBalance();
}

void FactoryPage::startPendingBalance()
{
    if (!pendingBalance_ || context_.runner.busy())
        return;
    const int position = *pendingBalance_;
    if (context_.runner.run(context_.selection(),
                            [position](DisplayAccess& access) { return SendBalance(access, position); }))
        pendingBalance_.reset();
}

void FactoryPage::ComFatWrtie_Click()
{
    context_.runner.run(context_.selection(), [](DisplayAccess& access) { return StoreBalance(access); });
}
