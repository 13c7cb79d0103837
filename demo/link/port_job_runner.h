#pragma once

#include "demo/link/job_result.h"

#include <QByteArray>
#include <functional>

class DevicePort;
class ModelledLink;
class PortJob;
struct PortStep;

// Does the steps of a port job on the device worker's thread, in order, until one fails. A write is
// done once its bytes have left the computer: the line time at the rate (ten bits a character) and one
// second more are allowed for that, then it fails. A pause is cut short, and the job given up, as soon
// as the program ends. A job that fails or is given up leaves the port closed at once; one that ends
// well leaves it as its steps left it, open for the next job of the window that holds it.
class PortJobRunner
{
public:
    // `simulated` (null when there is none) is the display at the end of "sim": each opening step
    // tells it which model to play. `pauseWatcher` (may be empty) hears each pause begin.
    PortJobRunner(DevicePort& port, ModelledLink* simulated, const std::function<void(int ms)>& pauseWatcher);

    JobResult run(const PortJob& job);

private:
    bool open(const PortStep& step);
    bool write(const QByteArray& bytes);
    bool pause(int ms);
    bool fail(JobResult::Step step, const LinkStatus& status);

    DevicePort& port_;
    ModelledLink* simulated_;
    const std::function<void(int)>& pauseWatcher_;
    JobResult result_;
};
