#pragma once

#include "gui/page_context.h"
#include "operations/general_record.h"

#include <QWidget>

class QComboBox;
class QPushButton;

// The "General" page: the six lists of the display's own settings, "Set to Default", and the
// "Write" and "Erase" buttons that store or erase the general parameter record.
class GeneralPage : public QWidget
{
    Q_OBJECT

public:
    GeneralPage(PageContext context, QWidget* parent = nullptr);

    // The lists' texts now (the brightness as last picked).
    GeneralParameters parameters() const;

    void ComRegTalvex_Click();
    void ComCancelReg_Click();
    void CmdSetDefault_Click(int index);
    void CmbBrightnessSelect_Click(int index);

private:
    PageContext context_;
    QComboBox* CmbBaudRateSelect;
    QComboBox* CmbComFormatSelect;
    QComboBox* CmbCommandSelect;
    QComboBox* CmbCodePageSelect;
    QComboBox* CmbICSSelect;
    QComboBox* CmbBrightnessSelect;
    QPushButton* CmdSetDefault;
    QPushButton* ComRegTalvex;
    QPushButton* ComCancelReg;
    QString SelectedBrightness = QStringLiteral("100%");
};
