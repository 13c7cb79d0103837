#include "demo/link/port_job.h"

#include <algorithm>

PortJob& PortJob::add(PortStep step)
{
    if (!refused_) {
        steps_.append(std::move(step));
    }
    return *this;
}

PortJob& PortJob::open(const QString& portText, const LineSettings& settings, DisplayProduct model)
{
    PortStep step;
    step.kind = PortStep::Open;
    step.portText = portText;
    step.settings = settings;
    step.model = model;
    return add(std::move(step));
}

PortJob& PortJob::write(const QByteArray& bytes)
{
    if (bytes.isEmpty()) {
        return *this;
    }
    PortStep step;
    step.kind = PortStep::Write;
    step.bytes = bytes;
    return add(std::move(step));
}

PortJob& PortJob::text(const QString& text)
{
    if (text.isEmpty()) {
        return *this;
    }
    PortStep step;
    step.kind = PortStep::Text;
    step.text = text;
    return add(std::move(step));
}

void PortJob::encodeTexts(const WireEncoding& encoding)
{
    QList<PortStep> encoded;
    for (PortStep& step : steps_) {
        if (refused_ && step.kind != PortStep::Close) {
            continue;
        }
        if (step.kind == PortStep::Text) {
            const WireBytes bytes = encoding.encode(step.text);
            if (!bytes) {
                refused_ = step.text;
                continue;
            }
            step.kind = PortStep::Write;
            step.bytes = bytes.bytes;
        }
        encoded.append(std::move(step));
    }
    steps_ = std::move(encoded);
}

PortJob& PortJob::pause(int ms)
{
    PortStep step;
    step.kind = PortStep::Pause;
    step.ms = ms;
    return add(std::move(step));
}

PortJob& PortJob::close()
{
    PortStep step;
    step.kind = PortStep::Close;
    steps_.append(std::move(step));
    return *this;
}

bool PortJob::opens() const
{
    return std::any_of(steps_.begin(), steps_.end(),
                       [](const PortStep& step) { return step.kind == PortStep::Open; });
}
