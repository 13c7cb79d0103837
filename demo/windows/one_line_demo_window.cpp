#include "windows/one_line_demo_window.h"

#include "link/port_session.h"
#include "windows/window_chain.h"

#include <QHBoxLayout>
#include <QPushButton>

OneLineDemoWindow::OneLineDemoWindow(WindowChain& navigator)
    : DemoWindow(QStringLiteral("KD138 DEMO")), navigator_(navigator)
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
    connect(line, &QPushButton::clicked, this, [this] {
        press("\x1B\x51\x41"
              "12345678901\x0D");
    });
    connect(clear, &QPushButton::clicked, this, [this] { press("\x0C\x0D"); });
}

void OneLineDemoWindow::press(const QByteArray& bytes)
{
    PortSession& port = navigator_.sharedPort();
    std::optional<PortJob> job = port.openChosen();
    if (!job) {
        return;
    }
    port.run(std::move(job->write(bytes).close()));
}
