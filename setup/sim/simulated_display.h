#pragma once

#include "core/serial_link.h"
#include "sim/display_flash.h"
#include "sim/display_parser.h"

#include <QList>
#include <QMutex>
#include <QStringList>

class Pacer;

// A VQ71xx display on a serial line, as the protocol describes it: DSR high while powered; its
// own line settings (garbage when the host's differ); the setup request answered by a pulse and
// the 115200 setup state; every frame checked (CRC, length) and acknowledged only when sound, by a
// low pulse on DSR; flash regions; restart on "F@"; two screen lines. Time comes from a Pacer, so
// it runs in virtual time in tests and in real time behind the "sim" port.
class SimulatedDisplay : public SerialLink
{
public:
    // Ways to make the display misbehave.
    struct Faults
    {
        bool absent = false;            // no display on the line: DSR never rises, nothing is heard
        double dsrDelay = 0.0;          // DSR rises this many seconds after the port opens
        int acknowledgeFirst = -1;      // acknowledge only the first N sound frames (-1: all)
        double pulseWidth = 0.2;        // length of the acknowledgement pulse, seconds
        double ackLatency = 0.02;       // from the last byte of a frame to the pulse, seconds
        bool outputNeverDrains = false; // the line is stuck: written bytes never leave
        bool portMissing = false;       // open fails: no such port
        bool portBusy = false;          // open fails: in use
        int vanishAfterWrites = -1;     // the adapter is pulled out after this many writes
        int failWrite = -1;             // this write (counted from 1) fails; the ones after it go through
        bool dipSwitch12On = false;     // forced firmware mode: the display starts in setup state
        int dropDsrAfterFrames = -1;    // after N acknowledged frames DSR falls for good instead of
                                        // pulsing (-1: never); a power cycle or restart raises it again
    };

    struct Write
    {
        double time;
        QString settings;
        QByteArray bytes;
    };

    explicit SimulatedDisplay(const Pacer& clock);

    // SerialLink
    void setPortName(const QString& name) override;
    QString portName() const override;
    LinkStatus setSettings(const LineSettings& settings) override;
    LineSettings settings() const override;
    LinkStatus open() override;
    void close() override;
    bool isOpen() const override;
    LinkStatus write(const QByteArray& bytes) override;
    bool dsr() override;
    qint64 bytesToWrite() override;

    // Set-up and inspection. Safe from any thread.
    void setFaults(const Faults& faults);
    Faults faults() const;
    void setFlash(const DisplayFlash& flash);
    DisplayFlash flash() const;
    QStringList screen() const;
    bool inSetupState() const;
    // DSR as the line shows it now, whether or not the host has the port open: high while the
    // display is powered and neither acknowledging (a low pulse) nor restarting.
    bool dsrLine() const;
    // True from "F@" (or a power cycle) until the display has started again.
    bool restarting() const;
    int liveBalance() const;
    int restarts() const;
    int acknowledgements() const;
    int garbageBytes() const;
    QList<Write> writes() const;
    // Every byte written by the host, in order.
    QByteArray wire() const;
    // The settings the display listens at now.
    LineSettings listeningSettings() const;
    // Switches the display off and on again: it restarts and shows its power-on lines.
    void powerCycle();

private:
    struct Chunk
    {
        double start;
        double end;
        LineSettings settings;
        QByteArray bytes;
    };
    void advanceLocked();
    void receiveLocked(const Chunk& chunk);
    void handleLocked(const DisplayParser::Item& item);
    void handleFrameLocked(const DisplayParser::Item& item);
    void acknowledgeLocked();
    void restartLocked(double at);
    void putCharacterLocked(char c);
    bool dsrLocked(double t) const;
    double nowLocked() const;

    const Pacer& clock_;
    mutable QMutex mutex_;
    DisplayParser parser_;
    Faults faults_;
    DisplayFlash flash_;
    QString portName_;
    LineSettings settings_;
    bool open_ = false;
    bool vanished_ = false;
    double openedAt_ = 0;
    double processingTime_ = 0; // arrival time of the byte being handled
    QList<Chunk> inFlight_;
    QList<Write> writes_;
    QList<QPair<double, double>> pulses_; // DSR low from .first to .second
    double restartUntil_ = -1;
    double dsrLostAt_ = -1; // DSR low from here on (dropDsrAfterFrames), -1 while it is not
    bool setupState_ = false;
    bool firmwareMode_ = false;
    int firmwarePages_ = 0;
    QByteArray firmwareBuffer_;
    int liveBalance_ = 128;
    int acknowledged_ = 0;
    int restarts_ = 0;
    int garbage_ = 0;
    int writeAttempts_ = 0;
    QByteArray screen_ = QByteArray(40, ' ');
    int cursor_ = 0;
};
