#pragma once

#include "port_session.h"

struct DemoContext;

// The never-shown window "Form1" that holds the port of the KD-426 and KD-138 demonstrations, which
// open it around each button press so that the port is free between presses.
class port_form
{
public:
    explicit port_form(DemoContext& context);

    // Opens DemoPortNumber (or the chosen system port) with DemoLineSettings; false, after telling the
    // person why, when it cannot be opened.
    bool port_open();
    void port_close();
    // Opens and closes at once, to learn whether the port can be used.
    bool port_probe();

    PortSession& session() { return session_; }

private:
    PortSession session_;
};
