#include "demo/windows/international_set_window.h"

#include "demo/model/escpos_commands.h"
#include "demo/windows/option_table.h"
#include "demo/windows/selection_buttons.h"

#include <QButtonGroup>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

// The captions of the two Danish sets have two blanks; the names written to the display have one.
const QList<OptionEntry>& internationalSets()
{
    static const QList<OptionEntry> kSets = {
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
    return kSets;
}

} // namespace

InternationalSetWindow::InternationalSetWindow(DemoContext& context)
    : DemoWindow(QStringLiteral("Internation Character Sets")), port_(context)
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(24, 20, 24, 20);
    layout->setSpacing(18);
    QButtonGroup* options = addOptionButtons(layout, internationalSets(), this);
    connect(options, &QButtonGroup::idClicked, this, [this](int position) {
        setNumber_ = static_cast<qint16>(internationalSets()[position].value);
        setName_ = internationalSets()[position].name;
    });

    const auto [enter, cancel] = addSelectionButtons(layout, QStringLiteral("CANCEL"));
    connect(enter, &QPushButton::clicked, this, &InternationalSetWindow::showInternationalSet);
    connect(cancel, &QPushButton::clicked, this, &InternationalSetWindow::returnToCommandList);
}

void InternationalSetWindow::startUp(std::function<void(bool)> started)
{
    setName_ = QStringLiteral("U.S.A");
    setNumber_ = 0;
    std::optional<PortJob> job = port_.openChosen();
    if (!job) {
        started(false);
        return;
    }
    port_.run(std::move(job->write(EscPos::kClearScreen).write(EscPos::kInternationalSetStart)),
              [started](const JobResult& result) { started(result.sent()); });
}

void InternationalSetWindow::windowClosing()
{
    port_.close();
}

void InternationalSetWindow::showInternationalSet()
{
    PortJob job;
    for (const QByteArray& bytes : EscPos::showInternationalSet(setNumber_, setName_))
        job.write(bytes);
    port_.run(std::move(job), [this](const JobResult& result) {
        if (!result.sent())
            emit handOver(NextWindow::Kd317PortSelection);
    });
}

void InternationalSetWindow::returnToCommandList()
{
    port_.close();
    emit handOver(NextWindow::CommandList);
}
