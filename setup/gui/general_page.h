#pragma once

#include "setup/gui/page_context.h"
#include "setup/operations/general_record.h"

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

    // The codes of the lists' texts now (the brightness as last picked).
    GeneralParameters parameters() const;
    // The six lists' texts in their order (a profile's [general] section), and the lists set from
    // them as if the person had picked each.
    QStringList choices() const;
    void setChoices(const QStringList& names);

    void writeParameters();
    void eraseParameters();
    void setDefaults();
    void chooseBrightness();

signals:
    // The person picked a code page (its code) in the list.
    void codePageChosen(int code);

private:
    PageContext context_;
    QComboBox* baudRateList_;
    QComboBox* formatList_;
    QComboBox* commandSetList_;
    QComboBox* codePageList_;
    QComboBox* charsetList_;
    QComboBox* brightnessList_;
    QPushButton* defaultsButton_;
    QPushButton* writeButton_;
    QPushButton* eraseButton_;
    // The code of the brightness the person last picked (or "Set to Default" put in its list): a
    // write stores that one, not whatever text the list shows.
    quint8 selectedBrightness_ = GeneralParameters().brightness;
};
