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
    CmbBaudRateSelect = ParameterList("CmbBaudRateSelect", BaudRateItems(), QStringLiteral("9600"), frame);
    CmbComFormatSelect =
        ParameterList("CmbComFormatSelect", ComFormatItems(), QStringLiteral("N,8,1"), frame);
    CmbCommandSelect = ParameterList("CmbCommandSelect", CommandItems(), QStringLiteral("EPSON"), frame);
    CmbCodePageSelect = ParameterList("CmbCodePageSelect", CodePageItems(), QStringLiteral("Europe"), frame);
    CmbICSSelect = ParameterList("CmbICSSelect", InternationalCharItems(), QStringLiteral("USA"), frame);
    CmbBrightnessSelect =
        ParameterList("CmbBrightnessSelect", BrightnessItems(), QStringLiteral("100%"), frame);
    CmdSetDefault = new QPushButton(QStringLiteral("Set to Default"), frame);
    CmdSetDefault->setObjectName(QStringLiteral("CmdSetDefault"));

    auto* grid = new QGridLayout(frame);
    const std::pair<const char*, QComboBox*> rows[] = {
        {"BaudRate Format:", CmbBaudRateSelect},
        {"Data Format", CmbComFormatSelect},
        {"Command", CmbCommandSelect},
        {"CodePage", CmbCodePageSelect},
        {"International Character", CmbICSSelect},
        {"Brightness", CmbBrightnessSelect},
    };
    int row = 0;
    for (const auto& [label, list] : rows) {
        grid->addWidget(new QLabel(QString::fromLatin1(label), frame), row, 0);
        grid->addWidget(list, row, 1);
        ++row;
    }
    grid->addWidget(CmdSetDefault, row, 1);
    grid->setColumnStretch(2, 1);

    ComRegTalvex = new QPushButton(QStringLiteral("Write"), this);
    ComRegTalvex->setObjectName(QStringLiteral("ComRegTalvex"));
    ComCancelReg = new QPushButton(QStringLiteral("Erase"), this);
    ComCancelReg->setObjectName(QStringLiteral("ComCancelReg"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(ComRegTalvex);
    buttons->addWidget(ComCancelReg);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(frame);
    layout->addLayout(buttons);
    layout->addStretch(1);

    context_.runner.buttons().add(ComRegTalvex);
    context_.runner.buttons().add(ComCancelReg);
    connect(ComRegTalvex, &QPushButton::clicked, this, &GeneralPage::ComRegTalvex_Click);
    connect(ComCancelReg, &QPushButton::clicked, this, &GeneralPage::ComCancelReg_Click);
    connect(CmdSetDefault, &QPushButton::clicked, this, [this] { CmdSetDefault_Click(0); });
    connect(CmbBrightnessSelect, &QComboBox::activated, this, [this] { CmbBrightnessSelect_Click(0); });
}

GeneralParameters GeneralPage::parameters() const
{
    return {CmbBaudRateSelect->currentText(), CmbComFormatSelect->currentText(),
            CmbCommandSelect->currentText(),  CmbCodePageSelect->currentText(),
            CmbICSSelect->currentText(),      SelectedBrightness};
}

void GeneralPage::ComRegTalvex_Click()
{
    // The record is built from the lists now, before the first frame; later changes do not alter it.
    const GeneralParameters chosen = parameters();
    context_.runner.run(context_.selection(),
                        [chosen](DisplayAccess& access) { return WriteGeneralParameters(access, chosen); });
}

void GeneralPage::ComCancelReg_Click()
{
    context_.runner.run(context_.selection(),
                        [](DisplayAccess& access) { return EraseGeneralParameters(access); });
}

void GeneralPage::CmdSetDefault_Click(int)
{
    const GeneralParameters defaults;
    CmbBaudRateSelect->setCurrentText(defaults.baudRate);
    CmbComFormatSelect->setCurrentText(defaults.dataFormat);
    CmbCommandSelect->setCurrentText(defaults.commandSet);
    CmbCodePageSelect->setCurrentText(defaults.codePage);
    CmbICSSelect->setCurrentText(defaults.internationalCharset);
    CmbBrightnessSelect->setCurrentText(defaults.brightness);
    SelectedBrightness = defaults.brightness;
}

void GeneralPage::CmbBrightnessSelect_Click(int)
{
    SelectedBrightness = CmbBrightnessSelect->currentText();
}
