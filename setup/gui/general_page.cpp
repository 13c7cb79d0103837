#include "gui/general_page.h"

#include "gui/operation_runner.h"
#include "operations/parameter_vocabulary.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QComboBox* ParameterList(const char* name, const QStringList& items, const QString& text, QWidget* parent)
{
    auto* list = new QComboBox(parent);
    list->setObjectName(QString::fromLatin1(name));
    list->setFont(QFont(QStringLiteral("Arial"), 10));
    list->addItems(items);
    list->setCurrentText(text);
    list->setMinimumContentsLength(9);
    return list;
}

} // namespace

GeneralPage::GeneralPage(PageContext context, QWidget* parent) : QWidget(parent), context_(std::move(context))
{
    auto* frame = new QGroupBox(QStringLiteral("General Parameter Select"), this);
    frame->setObjectName(QStringLiteral("Frame2"));
    baudRateList_ = ParameterList("CmbBaudRateSelect", BaudRateItems(), QStringLiteral("9600"), frame);
    formatList_ = ParameterList("CmbComFormatSelect", ComFormatItems(), QStringLiteral("N,8,1"), frame);
    commandSetList_ = ParameterList("CmbCommandSelect", CommandItems(), QStringLiteral("EPSON"), frame);
    codePageList_ = ParameterList("CmbCodePageSelect", CodePageItems(), QStringLiteral("Europe"), frame);
    charsetList_ = ParameterList("CmbICSSelect", InternationalCharItems(), QStringLiteral("USA"), frame);
    brightnessList_ = ParameterList("CmbBrightnessSelect", BrightnessItems(), QStringLiteral("100%"), frame);
    defaultsButton_ = new QPushButton(QStringLiteral("Set to Default"), frame);
    defaultsButton_->setObjectName(QStringLiteral("CmdSetDefault"));

    auto* grid = new QGridLayout(frame);
    const std::pair<const char*, QComboBox*> rows[] = {
        {"BaudRate Format:", baudRateList_},
        {"Data Format", formatList_},
        {"Command", commandSetList_},
        {"CodePage", codePageList_},
        {"International Character", charsetList_},
        {"Brightness", brightnessList_},
    };
    int row = 0;
    for (const auto& [label, list] : rows) {
        grid->addWidget(new QLabel(QString::fromLatin1(label), frame), row, 0);
        grid->addWidget(list, row, 1);
        ++row;
    }
    grid->addWidget(defaultsButton_, row, 1);
    grid->setColumnStretch(2, 1);

    writeButton_ = new QPushButton(QStringLiteral("Write"), this);
    writeButton_->setObjectName(QStringLiteral("ComRegTalvex"));
    eraseButton_ = new QPushButton(QStringLiteral("Erase"), this);
    eraseButton_->setObjectName(QStringLiteral("ComCancelReg"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(writeButton_);
    buttons->addWidget(eraseButton_);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(frame);
    layout->addLayout(buttons);
    layout->addStretch(1);

    context_.runner.buttons().add(writeButton_);
    context_.runner.buttons().add(eraseButton_);
    connect(writeButton_, &QPushButton::clicked, this, &GeneralPage::writeParameters);
    connect(eraseButton_, &QPushButton::clicked, this, &GeneralPage::eraseParameters);
    connect(defaultsButton_, &QPushButton::clicked, this, [this] { setDefaults(); });
    connect(brightnessList_, &QComboBox::activated, this, [this] { chooseBrightness(); });
}

GeneralParameters GeneralPage::parameters() const
{
    return {baudRateList_->currentText(), formatList_->currentText(),  commandSetList_->currentText(),
            codePageList_->currentText(), charsetList_->currentText(), selectedBrightness_};
}

void GeneralPage::writeParameters()
{
    // The record is built from the lists now, before the first frame; later changes do not alter it.
    const GeneralParameters chosen = parameters();
    context_.runner.run(context_.selection(),
                        [chosen](DisplayAccess& access) { return WriteGeneralParameters(access, chosen); });
}

void GeneralPage::eraseParameters()
{
    context_.runner.run(context_.selection(),
                        [](DisplayAccess& access) { return EraseGeneralParameters(access); });
}

void GeneralPage::setDefaults()
{
    const GeneralParameters defaults;
    baudRateList_->setCurrentText(defaults.baudRate);
    formatList_->setCurrentText(defaults.dataFormat);
    commandSetList_->setCurrentText(defaults.commandSet);
    codePageList_->setCurrentText(defaults.codePage);
    charsetList_->setCurrentText(defaults.internationalCharset);
    brightnessList_->setCurrentText(defaults.brightness);
    selectedBrightness_ = defaults.brightness;
}

void GeneralPage::chooseBrightness()
{
    selectedBrightness_ = brightnessList_->currentText();
}
