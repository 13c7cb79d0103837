#pragma once

#include "link/port_job.h"

#include <QString>
#include <functional>
#include <memory>
#include <optional>

struct DemoContext;
struct PortOutcome;

// A window's hold on the shared port. Its port work goes to the port worker as jobs; every failure is
// told to the person in a "Port Error" box naming the port and the system's reason, and leaves the port
// closed. Callers go on in the job's `then`, which runs on the GUI thread once the job has ended, and
// stop their sequence at the first result that is not Sent.
class PortSession
{
public:
    enum class Result {
        Sent,        // every step was done
        PortFailed,  // the port failed (the person has been told) or was not open
        TextRefused, // a text had a character the display lacks (the person has been told)
    };
    using Then = std::function<void(Result)>;

    explicit PortSession(DemoContext& context);
    ~PortSession();
    PortSession(const PortSession&) = delete;
    PortSession& operator=(const PortSession&) = delete;

    // A job that opens the port chosen in this run with the settings in force; nothing, after telling
    // the person, while no port has been chosen.
    std::optional<PortJob> openChosen();
    // A job that opens a port named here instead of the shared choice. Both carry the model whose
    // demonstration is shown, which the simulated display takes the part of.
    PortJob openPort(const QString& portText) const;

    // Hands the job to the port worker. A job that does not open the port writes only while this
    // session holds it open; otherwise nothing is done and `then` hears PortFailed at once.
    void run(PortJob job, Then then = {});
    // The bytes the text becomes, or a "Text Error" box telling why it cannot be sent.
    bool encode(const QString& text, QByteArray& bytes);
    // The encoding the person chose for every text of this run.
    const WireEncoding& encoding() const;
    // Lets go of the port, when this session holds it.
    void close();
    bool isOpen() const { return held_; }

private:
    void ended(const PortOutcome& outcome, const std::optional<QString>& refused, const Then& then);
    void refuseText(const QString& text);

    DemoContext& context_;
    bool held_ = false;
    // Expires with the session, so that a job ending after its window is gone tells nobody.
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};
