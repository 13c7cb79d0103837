#include "setup/operations/general_parameters.h"

#include "setup/operations/parameter_vocabulary.h"

const std::array<GeneralSetting, 6>& generalSettings()
{
    static const std::array<GeneralSetting, 6> kSettings = {{
        {&baudRateItems, "9600", &baudRateCode, &GeneralParameters::baudRate},
        {&comFormatItems, "N,8,1", &formatCode, &GeneralParameters::dataFormat},
        {&commandItems, "EPSON", &commandSetCode, &GeneralParameters::commandSet},
        {&codePageItems, "Europe", &codePageCode, &GeneralParameters::codePage},
        {&internationalCharItems, "USA", &charsetCode, &GeneralParameters::internationalCharset},
        {&brightnessItems, "100%", &brightnessCode, &GeneralParameters::brightness},
    }};
    return kSettings;
}

GeneralParameters generalParametersNamed(const QStringList& names)
{
    Q_ASSERT(names.size() == int(generalSettings().size()));
    GeneralParameters parameters;
    for (std::size_t i = 0; i < generalSettings().size(); ++i)
        parameters.*(generalSettings()[i].field) = generalSettings()[i].codeOf(names.at(int(i)));
    return parameters;
}
