#include "demo/windows/code_table_window.h"

#include "demo/model/escpos_commands.h"
#include "demo/windows/option_table.h"
#include "demo/windows/selection_buttons.h"

#include <QButtonGroup>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

const QList<OptionEntry>& codeTables()
{
    static const QList<OptionEntry> kTables = {
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
    return kTables;
}

} // namespace

CodeTableWindow::CodeTableWindow(DemoContext& context)
    : DemoWindow(QStringLiteral("CHARACTER CODE TABLE")), port_(context)
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(24, 20, 24, 20);
    layout->setSpacing(18);
    QButtonGroup* options = addOptionButtons(layout, codeTables(), this);
    connect(options, &QButtonGroup::idClicked, this,
            [this](int position) { codeTable_ = static_cast<qint16>(codeTables()[position].value); });

    const auto [enter, close] = addSelectionButtons(layout, QStringLiteral("CLOSE"));
    connect(enter, &QPushButton::clicked, this, &CodeTableWindow::showCodeTable);
    connect(close, &QPushButton::clicked, this, &CodeTableWindow::returnToCommandList);
}

void CodeTableWindow::startUp(std::function<void(bool)> started)
{
    std::optional<PortJob> job = port_.openChosen();
    if (!job) {
        started(false);
        return;
    }
    port_.run(std::move(job->write(EscPos::kClearScreen)),
              [started](const JobResult& result) { started(result.sent()); });
}

void CodeTableWindow::windowClosing()
{
    port_.close();
}

// The whole walk is one job: the window is held busy from its first byte to its last, so no click may
// slip between them.
void CodeTableWindow::showCodeTable()
{
    PortJob job;
    job.write(EscPos::selectCodeTable(codeTable_));
    for (int group = 0; group < EscPos::kCodeTableGroups; ++group) {
        if (group > 0)
            job.pause(EscPos::kCodeTableGroupPauseMs).write(EscPos::kClearScreen);
        for (const QByteArray& code : EscPos::codeTableGroup(group))
            job.write(code);
    }
    port_.run(std::move(job), [this](const JobResult& result) {
        if (!result.sent()) {
            // The port failed and has been closed; the person chooses a port again.
            emit handOver(NextWindow::Kd317PortSelection);
        }
    });
}

void CodeTableWindow::returnToCommandList()
{
    port_.run(PortJob().write(EscPos::kInitialize).close(), [this](const JobResult& result) {
        emit handOver(result.sent() ? NextWindow::CommandList : NextWindow::Kd317PortSelection);
    });
}
