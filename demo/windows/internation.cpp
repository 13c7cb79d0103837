#include "windows/internation.h"

#include "byte_text.h"
#include "demo_context.h"
#include "navigator.h"
#include "windows/option_table.h"
#include "windows/selection_buttons.h"

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
      MSComm1(navigator.context())
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
    connect(enter, &QPushButton::clicked, this, &internation::ShowInternationalSet);
    connect(cancel, &QPushButton::clicked, this, &internation::Command2_Click);
}

void internation::startUp(std::function<void(bool)> started)
{
    InternationalSetName = QStringLiteral("U.S.A");
    InternationalSetNumber = 0;
    std::optional<PortJob> job = MSComm1.openChosen();
    if (!job) {
        started(false);
        return;
    }
    MSComm1.run(std::move(job->write("\x0C").write(QByteArray("\x1F\x24\x03\x01", 4))),
                [started](PortSession::Result result) { started(result == PortSession::Result::Sent); });
}

void internation::windowClosing()
{
    MSComm1.close();
}

void internation::ShowInternationalSet()
{
    PortJob job;
    job.write("\x0C")
        .write(QByteArray("\x1B\x52", 2) + Chr(InternationalSetNumber))
        .write(QByteArray("\x1F\x24\x05\x01", 4) + InternationalSetName.toLatin1())
        .write(QByteArray("\x1F\x24\x05\x02", 4))
        .write("#$@[\\]^`{|}~");
    MSComm1.run(std::move(job), [this](PortSession::Result result) {
        if (result != PortSession::Result::Sent) {
            navigator_.showPortSelection(DemoModel::KD317);
        }
    });
}

void internation::Command2_Click()
{
    MSComm1.close();
    navigator_.showEpson();
}
