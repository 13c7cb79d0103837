#include "character.h"

#include "demo_context.h"
#include "navigator.h"
#include "option_table.h"
#include "selection_buttons.h"
#include "wire_text.h"

#include <QButtonGroup>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

const QList<OptionEntry>& CodeTables()
{
    static const QList<OptionEntry> tables = {
        {"PC437:USA,STANDARD EUROPE", 0, {}},
        {"KATAKANA", 1, {}},
        {"PC850:MULITLINGUAL", 2, {}},
        {"PORTUGUESE", 3, {}},
        {"PC863:CANADIAN-FRENCH", 4, {}},
        {"PC865:NORDIC", 5, {}},
        {"SLAVONIC", 6, {}},
        {"RUSSIA", 7, {}},
        {"PC858:EURO", 19, {}},
        {"WPC1252", 16, {}},
        {"GREEK", 12, {}},
    };
    return tables;
}

} // namespace

CHARACTER::CHARACTER(Navigator& navigator)
    : DemoWindow(QStringLiteral("CHARACTER CODE TABLE")), navigator_(navigator),
      MSComm1(navigator.context(), this)
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(24, 20, 24, 20);
    layout->setSpacing(18);
    QButtonGroup* options = AddOptionButtons(layout, CodeTables(), this);
    connect(options, &QButtonGroup::idClicked, this,
            [this](int position) { CodeTableNumber = static_cast<qint16>(CodeTables()[position].value); });

    const auto [enter, close] = AddSelectionButtons(layout, QStringLiteral("CLOSE"));
    connect(enter, &QPushButton::clicked, this, &CHARACTER::Command1_Click);
    connect(close, &QPushButton::clicked, this, &CHARACTER::Command2_Click);
}

bool CHARACTER::startUp()
{
    if (!MSComm1.open()) {
        return false;
    }
    if (!MSComm1.send("\x0C")) {
        return false;
    }
    return true;
}

void CHARACTER::windowClosing()
{
    MSComm1.close();
}

void CHARACTER::Command1_Click()
{
    if (!MSComm1.send(QByteArray("\x1B\x74", 2) + Chr(CodeTableNumber)) || !DIS()) {
        // The port failed and has been closed; the person chooses a port again.
        navigator_.showPortSelection(DemoModel::KD317);
    }
}

void CHARACTER::Command2_Click()
{
    if (!MSComm1.send("\x1B\x40")) {
        navigator_.showPortSelection(DemoModel::KD317);
        return;
    }
    MSComm1.close();
    navigator_.showEpson();
}

bool CHARACTER::DIS()
{
    // The whole walk holds the window: no click may slip between its bytes.
    Busy busy(*this);
    QByteArray buffer(2, '\0');
    for (int code = 128; code <= 255; ++code) {
        buffer[1] = static_cast<char>(code);
        if (!MSComm1.send(buffer)) {
            return false;
        }
        if (code == 159 || code == 191 || code == 223) {
            pauseFor(*navigator_.context().clock, 8000);
            if (!MSComm1.send("\x0C")) {
                return false;
            }
        }
    }
    return true;
}
