#include "demo/windows/four_line_demo_window.h"

#include "demo/link/demo_context.h"
#include "demo/link/window_port.h"
#include "demo/model/pacer_time.h"
#include "demo/windows/wrapping_button.h"

#include "core/dialogs.h"

#include <QGridLayout>
#include <QPointer>

namespace {

struct Kd426Button
{
    int number;
    const char* caption;
    int row;
    int column;
};

// Display lines and double lines on the left, horizontal lines in the middle, the rest on the right.
const QList<Kd426Button> kButtons = {
    {1, "DISPLAY LINE 1", 0, 0},
    {2, "DISPLAY LINE 2", 1, 0},
    {3, "DISPLAY LINE 3", 2, 0},
    {4, "DISPLAY LINE 4", 3, 0},
    {5, "CLEAR DISPLAY", 4, 0},
    {6, "DOUBLE LINE 1", 5, 0},
    {7, "DOUBLE LINE 2", 6, 0},
    {9, "HORIZONTAL LINE1", 0, 1},
    {10, "HORIZONTAL LINE 2", 1, 1},
    {11, "HORIZONTAL LINE 3", 2, 1},
    {12, "HORIZONTAL LINE 4", 3, 1},
    {13, "HORIZONTAL LINE1 OF DOUBLE", 4, 1},
    {14, "HORIZONTAL LINE1 OF DOUBLE", 5, 1},
    {15, "MODIFY INITIAL DISPLAY", 0, 2},
    {16, "SHOW TIME SMALL", 1, 2},
    {17, "SHOW TIME DOUBLE", 2, 2},
    {8, "To printer", 4, 2},
};

} // namespace

FourLineDemoWindow::FourLineDemoWindow(DemoContext& context, WindowPort& sharedPort)
    : DemoWindow(QString::fromUtf8("KD426-繁體")), context_(context), port_(sharedPort)
{
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(20, 20, 20, 20);
    grid->setHorizontalSpacing(14);
    grid->setVerticalSpacing(8);
    for (const Kd426Button& entry : kButtons) {
        auto* button = new WrappingButton(QString::fromLatin1(entry.caption));
        button->setObjectName(QStringLiteral("Command%1").arg(entry.number));
        grid->addWidget(button, entry.row, entry.column);
        connect(button, &QPushButton::clicked, this, [this, number = entry.number] { press(number); });
    }
}

void FourLineDemoWindow::startUp(std::function<void(bool)> started)
{
    port_.probe(std::move(started));
}

void FourLineDemoWindow::press(int number)
{
    const QList<Kd426::Step> steps = Kd426::buttonSteps(number, pacerTimeOfDay(*context_.pacer));
    if (steps.isEmpty())
        return;
    std::optional<PortJob> job = port_.openChosen();
    if (!job)
        return;
    proceed(std::move(*job), steps, 0);
}

void FourLineDemoWindow::proceed(PortJob job, const QList<Kd426::Step>& steps, int next)
{
    for (; next < steps.size(); ++next) {
        const Kd426::Step& step = steps[next];
        if (!step.prompted) {
            job.write(step.bytes).text(step.text);
            continue;
        }
        if (!job.isEmpty() || job.refusedText()) {
            // The person is asked only once what came before has gone out.
            const QPointer<FourLineDemoWindow> window = this;
            port_.run(std::move(job), [window, steps, next](const JobResult& result) {
                if (window == nullptr)
                    return;
                if (result.sent())
                    window->proceed(PortJob(), steps, next);
                else
                    window->port_.close();
            });
            return;
        }
        const QString reply = context_.dialogs->input(demoProgramTitle(), QString(), step.defaultReply);
        QByteArray text;
        if (!port_.encode(reply, text)) {
            port_.close();
            return;
        }
        job.write(step.bytes + text + Kd426::kLineEnd);
    }
    // Closed on every path, so the port is free between presses and after a failure.
    port_.run(std::move(job.close()));
}
