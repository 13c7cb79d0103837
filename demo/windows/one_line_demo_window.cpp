#include "demo/windows/one_line_demo_window.h"

#include "demo/link/window_port.h"
#include "demo/model/kd138_commands.h"

#include <QHBoxLayout>
#include <QPushButton>

OneLineDemoWindow::OneLineDemoWindow(WindowPort& sharedPort)
    : DemoWindow(QStringLiteral("KD138 DEMO")), port_(sharedPort)
{
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(30, 30, 30, 30);
    layout->setSpacing(20);
    auto* line = new QPushButton(QStringLiteral("INPUT LINE 1"));
    line->setObjectName(QStringLiteral("Command1"));
    auto* clear = new QPushButton(QStringLiteral("CLEAR DISPLAY"));
    clear->setObjectName(QStringLiteral("Command2"));
    for (QPushButton* button : {line, clear}) {
        button->setMinimumSize(160, 44);
        layout->addWidget(button);
    }
    connect(line, &QPushButton::clicked, this, [this] { press(Kd138::kInputLine1); });
    connect(clear, &QPushButton::clicked, this, [this] { press(Kd138::kClearDisplay); });
}

void OneLineDemoWindow::startUp(std::function<void(bool)> started)
{
    port_.probe(std::move(started));
}

void OneLineDemoWindow::press(const QByteArray& bytes)
{
    std::optional<PortJob> job = port_.openChosen();
    if (!job)
        return;
    port_.run(std::move(job->write(bytes).close()));
}
