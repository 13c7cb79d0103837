#include "setup/sim/display_device.h"

#include "setup/protocol/crc16.h"
#include "setup/protocol/setup_request.h"

#include <algorithm>

namespace {

constexpr double kRestartTime = 0.5;    // DSR is low while the display restarts
constexpr double kPulseSpacing = 0.005; // between two acknowledgement pulses
constexpr int kGeneralRecordLength = 64;
constexpr int kTitleBlockLength = 47;
constexpr int kHeaderLength = 5;
constexpr int kPageLimit = 512;
constexpr int kScreenLength = 40;
constexpr int kDemoPageBase = 0x78; // a header's page count from here on announces a DEMO

} // namespace

DisplayDevice::DisplayDevice(const DisplayFaults& faults)
    : faults_(faults), parser_([this](const DisplayParser::Item& item) { handle(item); })
{
    showPowerOnLines();
}

void DisplayDevice::showPowerOnLines()
{
    const QStringList lines = powerOnLines(flash_);
    screen_ = (lines.at(0) + lines.at(1)).toLatin1();
}

LineSettings DisplayDevice::listeningSettings() const
{
    return setupState_ ? kSetupSettings : displayLineSettings(flash_);
}

void DisplayDevice::receive(double time, const LineSettings& settings, const QByteArray& bytes)
{
    processingTime_ = time;
    if (time < restartUntil_)
        return;
    if (settings != listeningSettings()) {
        // At the wrong speed or format the display only sees noise.
        garbage_ += bytes.size();
        return;
    }
    parser_.feed(bytes);
}

bool DisplayDevice::dsr(double t) const
{
    if (t < restartUntil_)
        return false;
    if (dsrLostAt_ >= 0 && t >= dsrLostAt_)
        return false;
    return std::none_of(pulses_.begin(), pulses_.end(),
                        [t](const auto& pulse) { return t >= pulse.first && t < pulse.second; });
}

QList<double> DisplayDevice::dsrChangeTimes(double from, double to) const
{
    QList<double> times = {restartedAt_, restartUntil_, dsrLostAt_};
    for (const auto& pulse : pulses_)
        times << pulse.first << pulse.second;
    times.removeIf([from, to](double t) { return t <= from || t > to; });
    return times;
}

void DisplayDevice::forgetPulses(double now)
{
    pulses_.erase(std::remove_if(pulses_.begin(), pulses_.end(),
                                 [now](const auto& pulse) { return pulse.second <= now; }),
                  pulses_.end());
}

void DisplayDevice::acknowledge()
{
    // The display answers the frame by dropping DSR at once and leaving it down: the host sees
    // DSR low already when its written bytes have left.
    if (faults_.dropDsrAfterFrames >= 0 && acknowledged_ >= faults_.dropDsrAfterFrames) {
        if (dsrLostAt_ < 0)
            dsrLostAt_ = processingTime_;
        return;
    }
    if (faults_.acknowledgeFirst >= 0 && acknowledged_ >= faults_.acknowledgeFirst)
        return;
    ++acknowledged_;
    double start = processingTime_ + faults_.ackLatency;
    if (!pulses_.isEmpty())
        start = std::max(start, pulses_.last().second + kPulseSpacing);
    pulses_.append({start, start + faults_.pulseWidth});
}

void DisplayDevice::restart(double at)
{
    ++restarts_;
    restartedAt_ = at;
    restartUntil_ = at + kRestartTime;
    dsrLostAt_ = -1;
    setupState_ = faults_.dipSwitch12On;
    if (firmwareMode_ && firmwareBuffer_.size() > 0)
        flash_.firmware = firmwareBuffer_;
    firmwareMode_ = false;
    firmwareBuffer_.clear();
    liveBalance_ = flash_.balance;
    parser_.reset();
    showPowerOnLines();
    cursor_ = 0;
}

void DisplayDevice::faultsChanged()
{
    setupState_ = setupState_ || faults_.dipSwitch12On;
    if (faults_.dropDsrAfterFrames < 0)
        dsrLostAt_ = -1;
}

void DisplayDevice::setFlash(const DisplayFlash& flash)
{
    flash_ = flash;
    liveBalance_ = flash.balance;
    showPowerOnLines();
}

QStringList DisplayDevice::screen() const
{
    return {QString::fromLatin1(screen_.left(20)), QString::fromLatin1(screen_.mid(20, 20))};
}

void DisplayDevice::handle(const DisplayParser::Item& item)
{
    using Item = DisplayParser::Item;
    switch (item.kind) {
    case Item::SetupRequest:
        if (!setupState_) {
            setupState_ = true;
            acknowledge();
        }
        break;
    case Item::Clear:
        screen_.fill(' ');
        cursor_ = 0;
        break;
    case Item::Character:
        screen_[cursor_] = static_cast<char>(item.byte);
        cursor_ = (cursor_ + 1) % screen_.size();
        break;
    case Item::Command:
        handleFrame(item);
        break;
    case Item::Unknown:
        garbage_ += 1;
        break;
    }
}

void DisplayDevice::handleFrame(const DisplayParser::Item& item)
{
    const bool sound = item.erase || crc16Value(item.payload) == item.crc;
    switch (item.letter) {
    case 'R':
        break;
    case '@':
        restart(processingTime_);
        break;
    case 'b': // live balance, at the user's settings
        liveBalance_ = item.byte;
        acknowledge();
        break;
    case 'W': // store the balance in use
        flash_.balance = liveBalance_;
        acknowledge();
        break;
    case 'N':
        storeRecord(item, sound, kGeneralRecordLength, &isGeneralRecord, flash_.generalRecord);
        break;
    case 'C':
        storeRecord(item, sound, kTitleBlockLength, &isTitleBlock, flash_.titleBlock);
        break;
    case 'F':
        startFirmwareMode();
        break;
    case 'Z':
        takeHeader(item, sound);
        break;
    case 'M':
        takePage(item, sound);
        break;
    case 'D':
        showText(item);
        break;
    default:
        garbage_ += 3;
        break;
    }
}

void DisplayDevice::storeRecord(const DisplayParser::Item& item, bool sound, int length,
                                bool (*isRecord)(const QByteArray&), QByteArray& region)
{
    if (!setupState_ || !sound || !(item.erase || (item.length == length && isRecord(item.payload))))
        return;
    region = item.erase ? QByteArray() : item.payload;
    acknowledge();
}

// The firmware update request: the display gets ready to take a new image.
void DisplayDevice::startFirmwareMode()
{
    if (!setupState_)
        return;
    firmwareMode_ = true;
    firmwareBuffer_.clear();
    firmwarePages_ = 0;
}

void DisplayDevice::takeHeader(const DisplayParser::Item& item, bool sound)
{
    if (!setupState_ || !sound || item.length != kHeaderLength || !item.payload.startsWith(kBlockSignature))
        return;
    const int pages = static_cast<quint8>(item.payload.at(4));
    if (pages >= kDemoPageBase && !firmwareMode_) {
        flash_.demo.clear();
        flash_.demoPages = pages - kDemoPageBase;
    } else if (firmwareMode_ && pages > 0) {
        firmwarePages_ = pages;
        firmwareBuffer_.clear();
    } else {
        return;
    }
    acknowledge();
}

void DisplayDevice::takePage(const DisplayParser::Item& item, bool sound)
{
    if (item.erase) { // DEMO erase, at the user's settings
        flash_.demo.clear();
        flash_.demoPages = 0;
        acknowledge();
        return;
    }
    if (!setupState_ || !sound || item.length > kPageLimit)
        return;
    if (firmwareMode_ && firmwarePages_ > 0)
        firmwareBuffer_.append(item.payload);
    else
        flash_.demo.append(item.payload);
    acknowledge();
}

void DisplayDevice::showText(const DisplayParser::Item& item)
{
    if (item.length != kScreenLength)
        return;
    screen_ = item.payload;
    cursor_ = 0;
    acknowledge();
}
