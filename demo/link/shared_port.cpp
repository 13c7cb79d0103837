#include "link/shared_port.h"

SharedPort::SharedPort(DemoContext& context) : session_(context) {}

std::optional<PortJob> SharedPort::open()
{
    return session_.openChosen();
}

void SharedPort::close()
{
    session_.close();
}

void SharedPort::probe(std::function<void(bool)> done)
{
    std::optional<PortJob> job = session_.openChosen();
    if (!job) {
        done(false);
        return;
    }
    session_.run(std::move(job->close()),
                 [done](PortSession::Result result) { done(result == PortSession::Result::Sent); });
}
