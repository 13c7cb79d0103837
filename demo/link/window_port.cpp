#include "demo/link/window_port.h"

#include "demo/link/demo_context.h"
#include "demo/link/port_job_runner.h"
#include "demo/link/port_messages.h"

#include "core/device_worker.h"
#include "core/dialogs.h"
#include "core/wire_text.h"

#include <algorithm>

WindowPort::WindowPort(DemoContext& context) : context_(context) {}

WindowPort::~WindowPort()
{
    close();
}

std::optional<PortJob> WindowPort::openChosen()
{
    close();
    if (!context_.state.portChosen()) {
        tell(noPortChosenMessage());
        return std::nullopt;
    }
    return openPort(context_.state.portText());
}

std::optional<PortJob> WindowPort::openPort(const QString& portText)
{
    const DemoPortState& state = context_.state;
    if (state.refusedSettingsText) {
        JobResult refused;
        refused.failedStep = JobResult::Step::Settings;
        refused.portText = portText;
        refused.status = LinkStatus::failure(LinkFailure::SettingsRefused,
                                             refusedSettingsReason(portText, *state.refusedSettingsText));
        tell(portFailedMessage(refused));
        return std::nullopt;
    }
    PortJob job;
    job.open(portText, state.lineSettings, state.displayModel);
    return job;
}

void WindowPort::probe(std::function<void(bool)> done)
{
    std::optional<PortJob> job = openChosen();
    if (!job) {
        done(false);
        return;
    }
    run(std::move(job->close()), [done](const JobResult& result) { done(result.sent()); });
}

void WindowPort::run(PortJob job, Then then)
{
    job.encodeTexts(context_.state.encoding);
    const std::optional<QString> refused = job.refusedText();
    if (job.isEmpty()) {
        // Nothing for the port to do (a refused text, say).
        ended(JobResult(), refused, then);
        return;
    }
    const bool writes = std::any_of(job.steps().begin(), job.steps().end(),
                                    [](const PortStep& step) { return step.kind != PortStep::Close; });
    if (!held_ && !job.opens() && writes) {
        // A port this window port does not hold: nothing is written, and nobody is told.
        JobResult notOpen;
        notOpen.failedStep = JobResult::Step::Write;
        ended(notOpen, refused, then);
        return;
    }
    if (job.opens())
        held_ = true;
    if (job.endsClosed())
        held_ = false;
    const std::weak_ptr<bool> alive = alive_;
    context_.portWorker->post<JobResult>(
        [job = std::move(job), simulated = context_.simulatedDisplay, watcher = context_.pauseWatcher](
            DevicePort& port) { return PortJobRunner(port, simulated, watcher).run(job); },
        [this, alive, refused, then](const JobResult& result) {
            if (alive.expired())
                return;
            if (result.portFailed()) {
                held_ = false;
                if (!result.stopped)
                    tell(portFailedMessage(result));
            }
            ended(result, refused, then);
        });
}

void WindowPort::ended(JobResult result, const std::optional<QString>& refused, const Then& then)
{
    if (!result.portFailed() && refused) {
        tell(textRefusedMessage(context_.state.encoding.encode(*refused).refusal));
        result.textRefused = true;
    }
    if (then)
        then(result);
}

bool WindowPort::encode(const QString& text, QByteArray& bytes)
{
    const WireBytes encoded = context_.state.encoding.encode(text);
    if (!encoded) {
        tell(textRefusedMessage(encoded.refusal));
        return false;
    }
    bytes = encoded.bytes;
    return true;
}

const WireEncoding& WindowPort::encoding() const
{
    return context_.state.encoding;
}

void WindowPort::tell(const PortMessage& message)
{
    context_.dialogs->message(message.icon, message.title, message.text);
}

void WindowPort::close()
{
    if (held_)
        run(PortJob().close());
}
