#pragma once

#include <atomic>

#include <QElapsedTimer>
#include <QtGlobal>

// Seconds since midnight of a moment given in seconds since an earlier midnight: 86401.5 is 1.5.
double wrapToDay(double seconds);

// Owns time for the device operations: nothing else reads a clock or sleeps.
class Pacer
{
public:
    virtual ~Pacer() = default;
    // Monotonic seconds since the pacer was made: what every wait and pause measures.
    virtual double now() const = 0;
    // The local time of day as it reads now, in seconds since midnight (0 to under 86400). It follows
    // the wall clock wherever that is set (a correction, a daylight-saving change, a resume from
    // suspend), so it is for what a person or a display reads, never for measuring a wait.
    virtual double timeOfDay() const = 0;
    // One polling pass: yields about a millisecond so a wait never spins a core.
    virtual void pump() = 0;
    // A fixed pause.
    virtual void sleep(int milliseconds) = 0;
};

// Real time for real ports and for the simulated display in a real run.
class RealPacer : public Pacer
{
public:
    RealPacer();
    double now() const override;
    double timeOfDay() const override;
    void pump() override;
    void sleep(int milliseconds) override;

private:
    QElapsedTimer elapsed_;
};

// Simulated time: pump() moves the clock by one millisecond, sleep() by its length. Tests run
// minutes of protocol in no real time, with timings exact to the millisecond. Its wall clock starts at
// `startTimeOfDay` and runs with it, unless it is changed.
class VirtualPacer : public Pacer
{
public:
    explicit VirtualPacer(double startTimeOfDay = 36000.0) : startTimeOfDay_(startTimeOfDay) {}
    double now() const override { return static_cast<double>(ms_.load()) / 1000.0; }
    double timeOfDay() const override;
    // The wall clock is put forward (or back) by `seconds` once the virtual clock reaches `atMs`, as a
    // clock correction or a daylight-saving change does; now() does not move.
    void changeClock(double seconds, qint64 atMs);
    void pump() override { ms_ += 1; }
    void sleep(int milliseconds) override { ms_ += milliseconds > 0 ? milliseconds : 0; }
    // Moves the clock without a pass of any wait (for test set-up).
    void advance(int milliseconds) { sleep(milliseconds); }
    qint64 milliseconds() const { return ms_.load(); }

private:
    // Advanced by the worker that runs on it, read by windows that draw the simulated display.
    std::atomic<qint64> ms_{0};
    double startTimeOfDay_;
    double change_ = 0.0; // the change still to come, at changeAtMs_
    qint64 changeAtMs_ = 0;
};
