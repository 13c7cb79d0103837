#include "demo/windows/launcher_window.h"

#include "demo/link/demo_context.h"
#include "demo/model/kp685_sequence.h"

#include "core/dialogs.h"

#include <QGridLayout>
#include <QPushButton>

LauncherWindow::LauncherWindow(DemoContext& context)
    : DemoWindow(QStringLiteral("talvex_main")), context_(context), kp685_(context)
{
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(30, 24, 30, 24);
    grid->setHorizontalSpacing(36);
    grid->setVerticalSpacing(12);
    const QStringList captions = {"KP-361", "KP-248S", "KP-472", "KP-685",
                                  "KP-593", "KD-317",  "KD-426", "KD-138"};
    QList<QPushButton*> buttons;
    for (int i = 0; i < captions.size(); ++i) {
        auto* button = new QPushButton(captions[i]);
        button->setObjectName(QStringLiteral("Command%1").arg(i + 1));
        button->setMinimumSize(150, 40);
        grid->addWidget(button, i < 5 ? i : i - 5, i < 5 ? 0 : 1);
        buttons.append(button);
    }
    for (const int i : {0, 1, 2, 4}) {
        connect(buttons[i], &QPushButton::clicked, this,
                [this, caption = captions[i]] { notIncluded(caption); });
    }
    connect(buttons[3], &QPushButton::clicked, this, &LauncherWindow::sendKp685Greeting);
    connect(buttons[5], &QPushButton::clicked, this,
            [this] { emit handOver(NextWindow::Kd317PortSelection); });
    connect(buttons[6], &QPushButton::clicked, this,
            [this] { emit handOver(NextWindow::Kd426PortSelection); });
    connect(buttons[7], &QPushButton::clicked, this,
            [this] { emit handOver(NextWindow::Kd138PortSelection); });
}

// These models' demonstration windows are not part of this program; saying so beats a button that
// silently does nothing.
void LauncherWindow::notIncluded(const QString& model)
{
    context_.dialogs->message(
        Dialogs::Information, QStringLiteral("talvex_main"),
        QStringLiteral("The %1 demonstration is not included in this program.").arg(model));
}

// KP-685: the launcher holds no port, so the person names one (the port chosen earlier in this run is
// offered); the greeting goes out with the line settings in force and the port is closed again.
void LauncherWindow::sendKp685Greeting()
{
    const QString offered = context_.state.portChosen() ? context_.state.portText() : QStringLiteral("COM1");
    bool accepted = false;
    const QString port = context_.dialogs->input(
        demoProgramTitle(),
        QStringLiteral("KP-685: which port is the printer on? (COM1, COM2, ... or the port's name)"), offered,
        &accepted);
    if (!accepted || port.trimmed().isEmpty())
        return;
    std::optional<PortJob> job = kp685_.openPort(port.trimmed());
    if (!job)
        return;
    for (const QByteArray& bytes : kp685Sequence())
        job->write(bytes);
    kp685_.run(std::move(job->close()));
}
