#pragma once

#include <QElapsedTimer>
#include <QTime>

// Owns time for the device operations: nothing else reads a clock or sleeps.
class Pacer
{
public:
    virtual ~Pacer() = default;
    // Monotonic seconds since the pacer was made.
    virtual double now() const = 0;
    // Seconds since midnight that correspond to now(); used only in messages.
    virtual double timeOfDay() const = 0;
    // One polling pass: yields about a millisecond so a wait never spins a core.
    virtual void pump() = 0;
    // A fixed pause.
    virtual void sleep(int milliseconds) = 0;
};

// Wall-clock pacing for real ports and for the simulated display in a real run.
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
    double startTimeOfDay_;
};

// Simulated time: pump() moves the clock by one millisecond, sleep() by its length. Tests run
// minutes of protocol in no real time, with timings exact to the millisecond.
class VirtualPacer : public Pacer
{
public:
    explicit VirtualPacer(double startTimeOfDay = 36000.0) : startTimeOfDay_(startTimeOfDay) {}
    double now() const override { return static_cast<double>(ms_) / 1000.0; }
    double timeOfDay() const override { return startTimeOfDay_ + now(); }
    void pump() override { ms_ += 1; }
    void sleep(int milliseconds) override { ms_ += milliseconds > 0 ? milliseconds : 0; }
    // Moves the clock without a pass of any wait (for test set-up).
    void advance(int milliseconds) { sleep(milliseconds); }
    qint64 milliseconds() const { return ms_; }

private:
    qint64 ms_ = 0;
    double startTimeOfDay_;
};
