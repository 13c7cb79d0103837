#include "windows/international_set_window.h"

#include "link/demo_context.h"
#include "model/byte_text.h"
#include "windows/option_table.h"
#include "windows/selection_buttons.h"
#include "windows/window_chain.h"

#include <QButtonGroup>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

// The captions of the two Danish sets have two blanks; the names written to the display have one.
const QList<OptionEntry>& internationalSets()
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

InternationalSetWindow::InternationalSetWindow(WindowChain& navigator)
    : DemoWindow(QStringLiteral("Internation Character Sets")), navigator_(navigator),
      port_(navigator.context())
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
    port_.run(std::move(job->write("\x0C").write(QByteArray("\x1F\x24\x03\x01", 4))),
              [started](const JobResult& result) { started(result.sent()); });
}

void InternationalSetWindow::windowClosing()
{
    port_.close();
}

void InternationalSetWindow::showInternationalSet()
{
    PortJob job;
    job.write("\x0C")
        .write(QByteArray("\x1B\x52", 2) + chr(setNumber_))
        .write(QByteArray("\x1F\x24\x05\x01", 4) + setName_.toLatin1())
        .write(QByteArray("\x1F\x24\x05\x02", 4))
        .write("#$@[\\]^`{|}~");
    port_.run(std::move(job), [this](const JobResult& result) {
        if (!result.sent()) {
            navigator_.showPortSelection(DemoModel::KD317);
        }
    });
}

void InternationalSetWindow::returnToCommandList()
{
    port_.close();
    navigator_.showEscPosDemo();
}
