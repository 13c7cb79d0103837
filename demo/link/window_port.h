#pragma once

#include "demo/link/job_result.h"
#include "demo/link/port_job.h"

#include <QString>
#include <functional>
#include <memory>
#include <optional>

struct DemoContext;
struct PortMessage;

// A window's hold on the port. Its port work goes to the device worker as jobs; every failure is told
// to the person in a "Port Error" box naming the port and the system's reason, and leaves the port
// closed. Callers go on in the job's `then`, which runs on the GUI thread once the job has ended, and
// stop their sequence at the first result that was not sent.
class WindowPort
{
public:
    using Then = std::function<void(const JobResult&)>;

    explicit WindowPort(DemoContext& context);
    ~WindowPort();
    WindowPort(const WindowPort&) = delete;
    WindowPort& operator=(const WindowPort&) = delete;

    // A job that opens the port chosen in this run; nothing, after telling the person, while no port
    // has been chosen.
    std::optional<PortJob> openChosen();
    // A job that opens a port named here instead of the shared choice. Both open with the line
    // settings in force, or tell the person that the text confirmed as settings names none, and carry
    // the model whose demonstration is shown, whose part the simulated display takes.
    std::optional<PortJob> openPort(const QString& portText);
    // Opens the chosen port and closes it at once, to learn whether it can be used; `done` hears
    // whether it could.
    void probe(std::function<void(bool)> done);

    // Hands the job to the device worker. A job that does not open the port writes only while the
    // port is held open here; otherwise nothing is done and `then` hears at once that the port failed.
    void run(PortJob job, Then then = {});
    // The bytes the text becomes, or a "Text Error" box telling why it cannot be sent.
    bool encode(const QString& text, QByteArray& bytes);
    // The encoding the person chose for every text of this run.
    const WireEncoding& encoding() const;
    // Lets go of the port, when this window port holds it.
    void close();
    bool isOpen() const { return held_; }

private:
    void ended(JobResult result, const std::optional<QString>& refused, const Then& then);
    void tell(const PortMessage& message);

    DemoContext& context_;
    bool held_ = false;
    // Expires with the window port, so that a job ending after its window is gone tells nobody.
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};
