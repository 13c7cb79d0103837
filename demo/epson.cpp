#include "epson.h"

#include "demo_context.h"
#include "demo_dialogs.h"
#include "mirror_grid.h"
#include "navigator.h"
#include "wire_text.h"

#include <QVBoxLayout>

namespace {
const QString Greeting1 = QStringLiteral("-WELCOME- TEST MODE-");
const QString Greeting2 = QStringLiteral("--YOU CAN CHANG ME--");
} // namespace

epson::epson(Navigator& navigator)
    : DemoWindow(QStringLiteral("ESC/poc command list")), navigator_(navigator),
      MSComm1(navigator.context(), this)
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 16, 16, 16);
    layout->setSpacing(14);
    grid_ = new MirrorGrid;
    auto* mirrorRow = new QHBoxLayout;
    mirrorRow->addStretch();
    mirrorRow->addWidget(grid_);
    mirrorRow->addStretch();
    layout->addLayout(mirrorRow);
    auto* commands = new QWidget;
    buildCommands(commands);
    layout->addWidget(commands);
    connect(grid_, &MirrorGrid::cellClicked, this, &epson::cellClicked);
    connect(grid_, &MirrorGrid::keyTyped, this, &epson::keyTyped);
}

bool epson::startUp()
{
    WriteMode = MirrorMode::Overwrite;
    if (!MSComm1.open()) {
        return false;
    }
    const bool greeted = MSComm1.send("\x0C") && MSComm1.send("\x1F\x43\x01") &&
                         MSComm1.sendText(Greeting1) && MSComm1.sendText(Greeting2);
    if (!greeted) {
        MSComm1.close();
        return false;
    }
    mirror_.show(Greeting1, Greeting2);
    refreshMirror();
    return true;
}

void epson::windowClosing()
{
    MSComm1.close();
}

bool epson::send(const QByteArray& bytes)
{
    if (MSComm1.send(bytes)) {
        return true;
    }
    portLost();
    return false;
}

bool epson::sendText(const QString& text)
{
    QByteArray bytes;
    return MSComm1.encode(text, bytes) && send(bytes);
}

// The port failed under a command (the person has been told): back to the port choice.
void epson::portLost()
{
    MSComm1.close();
    navigator_.showPortSelection(DemoModel::KD317);
}

std::optional<QString> epson::ask(const QString& prompt, const QString& defaultReply)
{
    return navigator_.context().dialogs->askText(this, prompt, DemoProgramTitle(), defaultReply);
}

void epson::refreshMirror()
{
    grid_->showMirror(mirror_);
}

// A click anywhere on the mirror sends the cursor home and puts the focus on cell 1.
void epson::cellClicked(int)
{
    grid_->focusCell(1);
    send("\x0B");
}

void epson::keyTyped(int index, const QString& text)
{
    // A key with no byte in the display's page is ignored.
    const std::optional<QByteArray> byte = EncodeWireText(text);
    if (!byte || byte->size() != 1) {
        return;
    }
    const int k = static_cast<unsigned char>(byte->at(0));
    if (k == 13) {
        grid_->focusCell(1);
        send("\x0B");
        return;
    }
    // Control characters go to the display like any other code but draw nothing in the mirror.
    const QString shown = (k < 32 || k == 127) ? QString() : text;
    mirror_.setFocus(index);
    mirror_.typeCharacter(index, shown, WriteMode);
    refreshMirror();
    grid_->focusCell(mirror_.focus());
    send(*byte);
}
