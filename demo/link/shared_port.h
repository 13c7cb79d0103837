#pragma once

#include "link/port_session.h"

#include <functional>
#include <optional>

struct DemoContext;

// The never-shown window "Form1" that holds the port of the KD-426 and KD-138 demonstrations, which
// open it around each button press so that the port is free between presses.
class SharedPort
{
public:
    explicit SharedPort(DemoContext& context);

    // A job that opens DemoPortNumber (or the chosen system port) with DemoLineSettings; nothing, after
    // telling the person, while no port has been chosen. Failures to open are told when the job runs.
    std::optional<PortJob> open();
    void close();
    // Opens and closes at once, to learn whether the port can be used; `done` hears whether it could.
    void probe(std::function<void(bool)> done);

    PortSession& session() { return session_; }

private:
    PortSession session_;
};
