#include "port_form.h"

port_form::port_form(DemoContext& context) : session_(context) {}

std::optional<PortJob> port_form::port_open()
{
    return session_.openChosen();
}

void port_form::port_close()
{
    session_.close();
}

void port_form::port_probe(std::function<void(bool)> done)
{
    std::optional<PortJob> job = session_.openChosen();
    if (!job) {
        done(false);
        return;
    }
    session_.run(std::move(job->close()),
                 [done](PortSession::Result result) { done(result == PortSession::Result::Sent); });
}
