#include "port_form.h"

port_form::port_form(DemoContext& context) : session_(context, nullptr) {}

bool port_form::port_open()
{
    return session_.open();
}

void port_form::port_close()
{
    session_.close();
}

bool port_form::port_probe()
{
    const bool ok = session_.open();
    session_.close();
    return ok;
}
