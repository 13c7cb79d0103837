#include "operations/general_parameters.h"

#include "operations/parameter_vocabulary.h"

const std::array<GeneralSetting, 6>& GeneralSettings()
{
    static const std::array<GeneralSetting, 6> settings = {{
        {&BaudRateItems, "9600", &ChkBaudRateSelect, &GeneralParameters::baudRate},
        {&ComFormatItems, "N,8,1", &ChkComFormatSelect, &GeneralParameters::dataFormat},
        {&CommandItems, "EPSON", &ChkCommandSelect, &GeneralParameters::commandSet},
        {&CodePageItems, "Europe", &ChkCodePageSelect, &GeneralParameters::codePage},
        {&InternationalCharItems, "USA", &ChkInternationalCharSelect,
         &GeneralParameters::internationalCharset},
        {&BrightnessItems, "100%", &ChkBrightnessSelect, &GeneralParameters::brightness},
    }};
    return settings;
}

GeneralParameters GeneralParametersNamed(const QStringList& names)
{
    Q_ASSERT(names.size() == int(GeneralSettings().size()));
    GeneralParameters parameters;
    for (std::size_t i = 0; i < GeneralSettings().size(); ++i)
        parameters.*(GeneralSettings()[i].field) = GeneralSettings()[i].codeOf(names.at(int(i)));
    return parameters;
}
