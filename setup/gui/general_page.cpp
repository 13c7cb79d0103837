#include "setup/gui/general_page.h"

#include "setup/gui/operation_runner.h"
#include "setup/operations/parameter_vocabulary.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

// The settings of the lists, in the order of generalSettings().
enum ListIndex { BaudRate, DataFormat, CommandSet, CodePage, Charset, Brightness };

QComboBox* parameterList(const char* name, const GeneralSetting& setting, QWidget* parent)
{
    auto* list = new QComboBox(parent);
    list->setObjectName(QString::fromLatin1(name));
    list->setFont(QFont(QStringLiteral("Arial"), 10));
    list->addItems(setting.items());
    list->setCurrentText(QString::fromLatin1(setting.defaultName));
    list->setMinimumContentsLength(9);
    return list;
}

} // namespace

GeneralPage::GeneralPage(PageContext context, QWidget* parent) : QWidget(parent), context_(std::move(context))
{
    auto* frame = new QGroupBox(QStringLiteral("General Parameter Select"), this);
    frame->setObjectName(QStringLiteral("Frame2"));
    const auto& settings = generalSettings();
    baudRateList_ = parameterList("CmbBaudRateSelect", settings[BaudRate], frame);
    formatList_ = parameterList("CmbComFormatSelect", settings[DataFormat], frame);
    commandSetList_ = parameterList("CmbCommandSelect", settings[CommandSet], frame);
    codePageList_ = parameterList("CmbCodePageSelect", settings[CodePage], frame);
    charsetList_ = parameterList("CmbICSSelect", settings[Charset], frame);
    brightnessList_ = parameterList("CmbBrightnessSelect", settings[Brightness], frame);
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
    connect(codePageList_, &QComboBox::activated, this,
            [this] { emit codePageChosen(codePageCode(codePageList_->currentText())); });
}

GeneralParameters GeneralPage::parameters() const
{
    // The lists' texts are mapped here, as they come in; the brightness was mapped when picked.
    const auto& settings = generalSettings();
    GeneralParameters chosen;
    chosen.baudRate = settings[BaudRate].codeOf(baudRateList_->currentText());
    chosen.dataFormat = settings[DataFormat].codeOf(formatList_->currentText());
    chosen.commandSet = settings[CommandSet].codeOf(commandSetList_->currentText());
    chosen.codePage = settings[CodePage].codeOf(codePageList_->currentText());
    chosen.internationalCharset = settings[Charset].codeOf(charsetList_->currentText());
    chosen.brightness = selectedBrightness_;
    return chosen;
}

QStringList GeneralPage::choices() const
{
    return {baudRateList_->currentText(), formatList_->currentText(),  commandSetList_->currentText(),
            codePageList_->currentText(), charsetList_->currentText(), brightnessList_->currentText()};
}

void GeneralPage::setChoices(const QStringList& names)
{
    QComboBox* const lists[] = {baudRateList_, formatList_,  commandSetList_,
                                codePageList_, charsetList_, brightnessList_};
    for (int i = 0; i < 6; ++i)
        lists[i]->setCurrentText(names.value(i));
    chooseBrightness();
}

void GeneralPage::writeParameters()
{
    // The record is built from the lists now, before the first frame; later changes do not alter it.
    const GeneralParameters chosen = parameters();
    context_.runner.run(context_.selection(),
                        [chosen](DisplayAccess& access) { return writeGeneralParameters(access, chosen); });
}

void GeneralPage::eraseParameters()
{
    context_.runner.run(context_.selection(),
                        [](DisplayAccess& access) { return eraseGeneralParameters(access); });
}

void GeneralPage::setDefaults()
{
    const auto& settings = generalSettings();
    const std::pair<QComboBox*, const GeneralSetting&> lists[] = {
        {baudRateList_, settings[BaudRate]},     {formatList_, settings[DataFormat]},
        {commandSetList_, settings[CommandSet]}, {codePageList_, settings[CodePage]},
        {charsetList_, settings[Charset]},       {brightnessList_, settings[Brightness]},
    };
    for (const auto& [list, setting] : lists)
        list->setCurrentText(QString::fromLatin1(setting.defaultName));
    selectedBrightness_ = GeneralParameters().brightness;
}

void GeneralPage::chooseBrightness()
{
    selectedBrightness_ = generalSettings()[Brightness].codeOf(brightnessList_->currentText());
}
