#include "link/port_session.h"

#include "link/demo_context.h"
#include "link/port_error.h"
#include "link/port_worker.h"

#include "core/dialogs.h"
#include "core/wire_text.h"

#include <algorithm>

PortSession::PortSession(DemoContext& context) : context_(context) {}

PortSession::~PortSession()
{
    close();
}

std::optional<PortJob> PortSession::openChosen()
{
    close();
    if (!context_.state.portChosen()) {
        context_.dialogs->message(Dialogs::Critical, QStringLiteral("Port Error"),
                                  QStringLiteral("No COM port has been chosen.\nPlease choose a port."));
        return std::nullopt;
    }
    return openPort(context_.state.portText());
}

PortJob PortSession::openPort(const QString& portText) const
{
    PortJob job;
    job.open(portText, context_.state.DemoLineSettings, context_.state.DemoDisplayModel);
    return job;
}

void PortSession::run(PortJob job, Then then)
{
    job.encodeTexts(context_.state.encoding);
    const std::optional<QString> refused = job.refusedText();
    if (job.isEmpty()) {
        // Nothing for the port to do (a refused text, say).
        ended(PortOutcome(), refused, then);
        return;
    }
    const bool writes = std::any_of(job.steps().begin(), job.steps().end(),
                                    [](const PortStep& step) { return step.kind != PortStep::Close; });
    if (!held_ && !job.opens() && writes) {
        // A port this session does not hold: nothing is written, and nobody is told.
        PortOutcome notOpen;
        notOpen.failure = PortOutcome::Write;
        ended(notOpen, refused, then);
        return;
    }
    if (job.opens()) {
        held_ = true;
    }
    if (job.endsClosed()) {
        held_ = false;
    }
    const std::weak_ptr<bool> alive = alive_;
    context_.portWorker->post(std::move(job), [this, alive, refused, then](const PortOutcome& outcome) {
        if (alive.expired()) {
            return;
        }
        if (!outcome.ok()) {
            held_ = false;
            if (!outcome.stopped) {
                context_.dialogs->message(Dialogs::Critical, QStringLiteral("Port Error"),
                                          portErrorText(outcome));
            }
        }
        ended(outcome, refused, then);
    });
}

void PortSession::ended(const PortOutcome& outcome, const std::optional<QString>& refused, const Then& then)
{
    Result result = Result::Sent;
    if (!outcome.ok()) {
        result = Result::PortFailed;
    } else if (refused) {
        refuseText(*refused);
        result = Result::TextRefused;
    }
    if (then) {
        then(result);
    }
}

bool PortSession::encode(const QString& text, QByteArray& bytes)
{
    const WireBytes encoded = context_.state.encoding.encode(text);
    if (!encoded) {
        refuseText(text);
        return false;
    }
    bytes = encoded.bytes;
    return true;
}

const WireEncoding& PortSession::encoding() const
{
    return context_.state.encoding;
}

void PortSession::refuseText(const QString& text)
{
    context_.dialogs->message(
        Dialogs::Exclamation, QStringLiteral("Text Error"),
        QStringLiteral("%1\nNothing more is sent.").arg(context_.state.encoding.encode(text).refusal));
}

void PortSession::close()
{
    if (held_) {
        run(PortJob().close());
    }
}
