#pragma once

#include "core/line_settings.h"
#include "setup/sim/display_faults.h"
#include "setup/sim/display_flash.h"
#include "setup/sim/display_parser.h"

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QStringList>

// A VQ71xx display behind its serial input: it hears the bytes that reach it at its own line settings
// (noise at any other), answers the setup request with a pulse and the 115200 setup state, checks every
// frame (CRC, length) and acknowledges it only when sound, by a low pulse on DSR; it keeps its flash
// regions, restarts on "F@" and shows two screen lines. Not thread-safe: SimulatedDisplay guards it.
class DisplayDevice
{
public:
    explicit DisplayDevice(const DisplayFaults& faults);
    DisplayDevice(const DisplayDevice&) = delete;
    DisplayDevice& operator=(const DisplayDevice&) = delete;

    // Bytes whose last bit reached the display at `time`, sent at `settings`.
    void receive(double time, const LineSettings& settings, const QByteArray& bytes);
    // The display's DSR output at `t`: high while powered, low while it acknowledges or restarts.
    bool dsr(double t) const;
    // The moments in (`from`, `to`] at which dsr() may change: the ends of pulses, restarts and a lost DSR.
    QList<double> dsrChangeTimes(double from, double to) const;
    // Forgets the pulses that are over at `now`.
    void forgetPulses(double now);
    // Restarts at `at` (after "F@", or switched off and on): dark for a moment, then its power-on lines.
    void restart(double at);
    // Takes up faults just changed: the DIP switch puts it in its setup state, and a display that no
    // longer drops DSR has it back.
    void faultsChanged();

    void setFlash(const DisplayFlash& flash);
    const DisplayFlash& flash() const { return flash_; }
    QStringList screen() const;
    bool inSetupState() const { return setupState_; }
    bool restarting(double now) const { return now < restartUntil_; }
    // The settings the display listens at now.
    LineSettings listeningSettings() const;
    int liveBalance() const { return liveBalance_; }
    // The balance in use until the display restarts, as the factory page's live balance sets it.
    void setLiveBalance(int balance) { liveBalance_ = balance; }
    int restarts() const { return restarts_; }
    int acknowledgements() const { return acknowledged_; }
    int garbageBytes() const { return garbage_; }

private:
    void handle(const DisplayParser::Item& item);
    void handleFrame(const DisplayParser::Item& item);
    // "FN" and "FC": a sound record of `length` bytes (or the erase) into `region`, in the setup state.
    void storeRecord(const DisplayParser::Item& item, bool sound, int length,
                     bool (*isRecord)(const QByteArray&), QByteArray& region);
    void startFirmwareMode();
    // "FZ": the header of a DEMO or of a firmware image, with its page count.
    void takeHeader(const DisplayParser::Item& item, bool sound);
    // "FM": a DEMO block or firmware page; the all-zero form erases the DEMO.
    void takePage(const DisplayParser::Item& item, bool sound);
    void showText(const DisplayParser::Item& item);
    void acknowledge();
    void showPowerOnLines();

    const DisplayFaults& faults_;
    DisplayParser parser_;
    DisplayFlash flash_;
    double processingTime_ = 0;           // arrival time of the byte being handled
    QList<QPair<double, double>> pulses_; // DSR low from .first to .second
    double restartUntil_ = -1;
    double restartedAt_ = -1;
    double dsrLostAt_ = -1; // DSR low from here on (dropDsrAfterFrames), -1 while it is not
    bool setupState_ = false;
    bool firmwareMode_ = false;
    int firmwarePages_ = 0;
    QByteArray firmwareBuffer_;
    int liveBalance_ = 128;
    int acknowledged_ = 0;
    int restarts_ = 0;
    int garbage_ = 0;
    QByteArray screen_ = QByteArray(40, ' ');
    int cursor_ = 0;
};
