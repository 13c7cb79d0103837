#include "windows/code_table_window.h"

#include "link/demo_context.h"
#include "model/byte_text.h"
#include "windows/option_table.h"
#include "windows/selection_buttons.h"
#include "windows/window_chain.h"

#include <QButtonGroup>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

const QList<OptionEntry>& codeTables()
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

CodeTableWindow::CodeTableWindow(WindowChain& navigator)
    : DemoWindow(QStringLiteral("CHARACTER CODE TABLE")), navigator_(navigator), port_(navigator.context())
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
    port_.run(std::move(job->write("\x0C")), [started](const JobResult& result) { started(result.sent()); });
}

void CodeTableWindow::windowClosing()
{
    port_.close();
}

void CodeTableWindow::showCodeTable()
{
    PortJob job;
    job.write(QByteArray("\x1B\x74", 2) + chr(codeTable_));
    showUpperHalf(job);
    port_.run(std::move(job), [this](const JobResult& result) {
        if (!result.sent()) {
            // The port failed and has been closed; the person chooses a port again.
            navigator_.showPortSelection(DemoModel::KD317);
        }
    });
}

void CodeTableWindow::returnToCommandList()
{
    port_.run(PortJob().write("\x1B\x40").close(), [this](const JobResult& result) {
        if (!result.sent()) {
            navigator_.showPortSelection(DemoModel::KD317);
            return;
        }
        navigator_.showEscPosDemo();
    });
}

// The whole walk is one job: the window is held busy from its first byte to its last, so no click may
// slip between them.
void CodeTableWindow::showUpperHalf(PortJob& job)
{
    QByteArray buffer(2, '\0');
    for (int code = 128; code <= 255; ++code) {
        buffer[1] = static_cast<char>(code);
        job.write(buffer);
        if (code == 159 || code == 191 || code == 223) {
            job.pause(8000).write("\x0C");
        }
    }
}
