#pragma once

#include "core/link_status.h"

#include <QString>

// How a port job ended: every step done; or the step at which the port failed, with the link's status;
// or given up at a step because the program is ending. A text the display lacks a character for is
// refused without failing the port: the job stops sending there.
struct JobResult
{
    // The step at which the port failed.
    enum class Step { None, Settings, Open, Write };

    Step failedStep = Step::None;
    LinkStatus status;        // the link's failure: what failed and the system's own words
    QString portText;         // the port the job was on, as the person named it
    bool stopped = false;     // the program is ending
    bool textRefused = false; // a text had a character the display lacks (the person has been told)

    bool portFailed() const { return failedStep != Step::None || stopped; }
    bool sent() const { return !portFailed() && !textRefused; }
};
