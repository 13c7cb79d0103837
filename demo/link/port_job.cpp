#include "link/port_job.h"

#include "core/wire_text.h"

#include <algorithm>

PortJob& PortJob::add(PortStep step)
{
    if (!refused_) {
        steps_.append(std::move(step));
    }
    return *this;
}

PortJob& PortJob::open(const QString& portText, const QString& settingsText)
{
    PortStep step;
    step.kind = PortStep::Open;
    step.portText = portText;
    step.settingsText = settingsText;
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
    if (refused_) {
        return *this;
    }
    const std::optional<QByteArray> bytes = encodeWireText(text);
    if (!bytes) {
        refused_ = text;
        return *this;
    }
    return write(*bytes);
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
