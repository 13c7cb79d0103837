#include "internation.h"

#include "demo_context.h"
#include "navigator.h"
#include "option_table.h"
#include "selection_buttons.h"
#include "wire_text.h"

#include <QButtonGroup>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

// The captions of the two Danish sets have two blanks; the names written to the display have one.
const QList<OptionEntry>& InternationalSets()
{
    static const QList<OptionEntry> sets = {
        {"U.S.A", 0, "U.S.A"},
        {"FRANCE", 1, "FRANCE"},
        {"GERMANY", 2, "GERMANY"},
        {"U.K", 3, "U.K"},
        {"DENMARK  I", 4, "DENMARK I"},
        {"SWEDEN", 5, "SWEDEN"},
        {"ITALY", 6, "ITALY"},
        {"SPAIN", 7, "SPAIN"},
        {"JAPAN", 8, "JAPAN"},
        {"NORWAY", 9, "NORWAY"},
        {"DENMARK  II", 10, "DENMARK II"},
        {"SLAWIE", 11, "SLAWIE"},
        {"RUSSIA", 12, "RUSSIA"},
    };
    return sets;
}

} // namespace

internation::internation(Navigator& navigator)
    : DemoWindow(QStringLiteral("Internation Character Sets")), navigator_(navigator),
      MSComm1(navigator.context(), this)
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(24, 20, 24, 20);
    layout->setSpacing(18);
    QButtonGroup* options = AddOptionButtons(layout, InternationalSets(), this);
    connect(options, &QButtonGroup::idClicked, this, [this](int position) {
        InternationalSetNumber = static_cast<qint16>(InternationalSets()[position].value);
        InternationalSetName = InternationalSets()[position].name;
    });

    const auto [enter, cancel] = AddSelectionButtons(layout, QStringLiteral("CANCEL"));
    connect(enter, &QPushButton::clicked, this, [this] {
        if (!ShowInternationalSet()) {
            navigator_.showPortSelection(DemoModel::KD317);
        }
    });
    connect(cancel, &QPushButton::clicked, this, &internation::Command2_Click);
}

bool internation::startUp()
{
    InternationalSetName = QStringLiteral("U.S.A");
    InternationalSetNumber = 0;
    return MSComm1.open() && MSComm1.send("\x0C") && MSComm1.send(QByteArray("\x1F\x24\x03\x01", 4));
}

void internation::windowClosing()
{
    MSComm1.close();
}

bool internation::ShowInternationalSet()
{
    return MSComm1.send("\x0C") && MSComm1.send(QByteArray("\x1B\x52", 2) + Chr(InternationalSetNumber)) &&
           MSComm1.send(QByteArray("\x1F\x24\x05\x01", 4) + InternationalSetName.toLatin1()) &&
           MSComm1.send(QByteArray("\x1F\x24\x05\x02", 4)) && MSComm1.send("#$@[\\]^`{|}~");
}

void internation::Command2_Click()
{
    MSComm1.close();
    navigator_.showEpson();
}
