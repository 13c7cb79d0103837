#include "sim/simulated_display.h"

#include "core/link_status.h"
#include "core/pacer.h"
#include "protocol/crc16.h"

#include <QMutexLocker>
#include <algorithm>

namespace {

constexpr double kRestartTime = 0.5; // DSR is low while the display restarts

const LineSettings kSetupLine{115200, LineSettings::Parity::None, 8, LineSettings::StopBits::One};

// Bits on the line for one character: start, data, parity, stop (1.5 stop bits count as 2).
int bitsPerCharacter(const LineSettings& line)
{
    const int parity = line.parity == LineSettings::Parity::None ? 0 : 1;
    const int stop = line.stopBits == LineSettings::StopBits::One ? 1 : 2;
    return 1 + line.dataBits + parity + stop;
}

// The line the display listens at with these flash contents.
LineSettings storedLine(const DisplayFlash& flash)
{
    return LineSettings::parse(displayLineSettings(flash)).value_or(LineSettings{});
}

} // namespace

SimulatedDisplay::SimulatedDisplay(const Pacer& clock)
    : clock_(clock), parser_([this](const DisplayParser::Item& item) { handleLocked(item); })
{
    const QStringList lines = powerOnLines(flash_);
    screen_ = (lines.at(0) + lines.at(1)).toLatin1();
}

double SimulatedDisplay::nowLocked() const
{
    return clock_.now();
}

void SimulatedDisplay::setPortName(const QString& name)
{
    QMutexLocker lock(&mutex_);
    portName_ = name;
}

QString SimulatedDisplay::portName() const
{
    QMutexLocker lock(&mutex_);
    return portName_;
}

LinkStatus SimulatedDisplay::setSettings(const LineSettings& settings)
{
    QMutexLocker lock(&mutex_);
    advanceLocked();
    settings_ = settings;
    return LinkStatus::success();
}

LineSettings SimulatedDisplay::settings() const
{
    QMutexLocker lock(&mutex_);
    return settings_;
}

LinkStatus SimulatedDisplay::open()
{
    QMutexLocker lock(&mutex_);
    if (faults_.portMissing)
        return LinkStatus::failure(LinkError::PortMissing, QStringLiteral("No such file or directory"));
    if (faults_.portBusy)
        return LinkStatus::failure(LinkError::PortInUse, QStringLiteral("Device or resource busy"));
    if (open_)
        return LinkStatus::failure(LinkError::PortInUseByOther, QStringLiteral("The port is already open"));
    advanceLocked();
    open_ = true;
    vanished_ = false;
    openedAt_ = nowLocked();
    return LinkStatus::success();
}

void SimulatedDisplay::close()
{
    QMutexLocker lock(&mutex_);
    advanceLocked();
    open_ = false;
    // What was still queued in the host's buffers is lost with the close.
    inFlight_.clear();
}

bool SimulatedDisplay::isOpen() const
{
    QMutexLocker lock(&mutex_);
    return open_;
}

LinkStatus SimulatedDisplay::write(const QByteArray& bytes)
{
    QMutexLocker lock(&mutex_);
    if (!open_)
        return LinkStatus::failure(LinkError::WriteFailed, QStringLiteral("The port is not open"));
    if (faults_.vanishAfterWrites >= 0 && writes_.size() >= faults_.vanishAfterWrites)
        vanished_ = true;
    if (vanished_)
        return LinkStatus::failure(LinkError::WriteFailed, QStringLiteral("The device was removed"));
    if (++writeAttempts_ == faults_.failWrite)
        return LinkStatus::failure(LinkError::WriteFailed, QStringLiteral("Input/output error"));
    advanceLocked();
    const double now = nowLocked();
    writes_.append({now, settings_.toText(), bytes});
    if (faults_.outputNeverDrains) {
        inFlight_.append({now, 1e18, settings_, bytes});
        return LinkStatus::success();
    }
    const double start = inFlight_.isEmpty() ? now : std::max(now, inFlight_.last().end);
    const double duration = bytes.size() * bitsPerCharacter(settings_) / double(settings_.baud);
    inFlight_.append({start, start + duration, settings_, bytes});
    return LinkStatus::success();
}

bool SimulatedDisplay::dsr()
{
    QMutexLocker lock(&mutex_);
    advanceLocked();
    return open_ && !vanished_ && dsrLocked(nowLocked());
}

bool SimulatedDisplay::dsrLocked(double t) const
{
    if (faults_.absent || t < openedAt_ + faults_.dsrDelay)
        return false;
    if (t < restartUntil_)
        return false;
    if (dsrLostAt_ >= 0 && t >= dsrLostAt_)
        return false;
    for (const auto& pulse : pulses_)
        if (t >= pulse.first && t < pulse.second)
            return false;
    return true;
}

qint64 SimulatedDisplay::bytesToWrite()
{
    QMutexLocker lock(&mutex_);
    advanceLocked();
    const double now = nowLocked();
    qint64 pending = 0;
    for (const Chunk& chunk : inFlight_) {
        if (chunk.start >= now || chunk.end >= 1e17) {
            pending += chunk.bytes.size();
        } else {
            const double left = (chunk.end - now) / (chunk.end - chunk.start);
            pending += static_cast<qint64>(std::ceil(left * chunk.bytes.size()));
        }
    }
    return pending;
}

void SimulatedDisplay::advanceLocked()
{
    const double now = nowLocked();
    while (!inFlight_.isEmpty() && inFlight_.first().end <= now) {
        const Chunk chunk = inFlight_.takeFirst();
        receiveLocked(chunk);
    }
    // Forget pulses that are over.
    pulses_.erase(std::remove_if(pulses_.begin(), pulses_.end(),
                                 [now](const auto& pulse) { return pulse.second <= now; }),
                  pulses_.end());
}

LineSettings SimulatedDisplay::listeningSettings() const
{
    QMutexLocker lock(&mutex_);
    return setupState_ ? kSetupLine : storedLine(flash_);
}

void SimulatedDisplay::receiveLocked(const Chunk& chunk)
{
    processingTime_ = chunk.end;
    if (faults_.absent || processingTime_ < restartUntil_)
        return;
    const LineSettings listening = setupState_ ? kSetupLine : storedLine(flash_);
    if (chunk.settings != listening) {
        // At the wrong speed or format the display only sees noise.
        garbage_ += chunk.bytes.size();
        return;
    }
    parser_.feed(chunk.bytes);
}

void SimulatedDisplay::acknowledgeLocked()
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
        start = std::max(start, pulses_.last().second + 0.005);
    pulses_.append({start, start + faults_.pulseWidth});
}

void SimulatedDisplay::restartLocked(double at)
{
    ++restarts_;
    restartUntil_ = at + kRestartTime;
    dsrLostAt_ = -1;
    setupState_ = faults_.dipSwitch12On;
    if (firmwareMode_ && firmwareBuffer_.size() > 0)
        flash_.firmware = firmwareBuffer_;
    firmwareMode_ = false;
    firmwareBuffer_.clear();
    liveBalance_ = flash_.balance;
    parser_.reset();
    const QStringList lines = powerOnLines(flash_);
    screen_ = (lines.at(0) + lines.at(1)).toLatin1();
    cursor_ = 0;
}

void SimulatedDisplay::putCharacterLocked(char c)
{
    screen_[cursor_] = c;
    cursor_ = (cursor_ + 1) % screen_.size();
}

void SimulatedDisplay::handleLocked(const DisplayParser::Item& item)
{
    using Item = DisplayParser::Item;
    switch (item.kind) {
    case Item::SetupRequest:
        if (!setupState_) {
            setupState_ = true;
            acknowledgeLocked();
        }
        break;
    case Item::Clear:
        screen_.fill(' ');
        cursor_ = 0;
        break;
    case Item::Character:
        putCharacterLocked(static_cast<char>(item.byte));
        break;
    case Item::Command:
        handleFrameLocked(item);
        break;
    case Item::Unknown:
        garbage_ += 1;
        break;
    }
}

void SimulatedDisplay::handleFrameLocked(const DisplayParser::Item& item)
{
    const bool sound = item.erase || crc16Value(item.payload) == item.crc;
    switch (item.letter) {
    case 'R':
        break;
    case '@':
        restartLocked(processingTime_);
        break;
    case 'b': // live balance, at the user's settings
        liveBalance_ = item.byte;
        acknowledgeLocked();
        break;
    case 'W': // store the balance in use
        flash_.balance = liveBalance_;
        acknowledgeLocked();
        break;
    case 'N':
        if (!setupState_ || !sound || !(item.erase || (item.length == 64 && isGeneralRecord(item.payload))))
            break;
        flash_.generalRecord = item.erase ? QByteArray() : item.payload;
        acknowledgeLocked();
        break;
    case 'C':
        if (!setupState_ || !sound || !(item.erase || (item.length == 47 && isTitleBlock(item.payload))))
            break;
        flash_.titleBlock = item.erase ? QByteArray() : item.payload;
        acknowledgeLocked();
        break;
    case 'F': // firmware update request: the display gets ready to take a new image
        if (!setupState_)
            break;
        firmwareMode_ = true;
        firmwareBuffer_.clear();
        firmwarePages_ = 0;
        break;
    case 'Z': {
        if (!setupState_ || !sound || item.length != 5 || !item.payload.startsWith(kBlockSignature))
            break;
        const int pages = static_cast<quint8>(item.payload.at(4));
        if (pages >= 0x78 && !firmwareMode_) {
            flash_.demo.clear();
            flash_.demoPages = pages - 0x78;
        } else if (firmwareMode_ && pages > 0) {
            firmwarePages_ = pages;
            firmwareBuffer_.clear();
        } else {
            break;
        }
        acknowledgeLocked();
        break;
    }
    case 'M':
        if (item.erase) { // DEMO erase, at the user's settings
            flash_.demo.clear();
            flash_.demoPages = 0;
            acknowledgeLocked();
            break;
        }
        if (!setupState_ || !sound || item.length > 512)
            break;
        if (firmwareMode_ && firmwarePages_ > 0)
            firmwareBuffer_.append(item.payload);
        else
            flash_.demo.append(item.payload);
        acknowledgeLocked();
        break;
    case 'D':
        if (item.length != 40)
            break;
        screen_ = item.payload;
        cursor_ = 0;
        acknowledgeLocked();
        break;
    default:
        garbage_ += 3;
        break;
    }
}

void SimulatedDisplay::setFaults(const Faults& faults)
{
    QMutexLocker lock(&mutex_);
    faults_ = faults;
    setupState_ = setupState_ || faults.dipSwitch12On;
    if (faults.dropDsrAfterFrames < 0)
        dsrLostAt_ = -1;
}

SimulatedDisplay::Faults SimulatedDisplay::faults() const
{
    QMutexLocker lock(&mutex_);
    return faults_;
}

void SimulatedDisplay::setFlash(const DisplayFlash& flash)
{
    QMutexLocker lock(&mutex_);
    flash_ = flash;
    liveBalance_ = flash.balance;
    const QStringList lines = powerOnLines(flash_);
    screen_ = (lines.at(0) + lines.at(1)).toLatin1();
}

DisplayFlash SimulatedDisplay::flash() const
{
    QMutexLocker lock(&mutex_);
    const_cast<SimulatedDisplay*>(this)->advanceLocked();
    return flash_;
}

QStringList SimulatedDisplay::screen() const
{
    QMutexLocker lock(&mutex_);
    const_cast<SimulatedDisplay*>(this)->advanceLocked();
    return {QString::fromLatin1(screen_.left(20)), QString::fromLatin1(screen_.mid(20, 20))};
}

bool SimulatedDisplay::inSetupState() const
{
    QMutexLocker lock(&mutex_);
    return setupState_;
}

bool SimulatedDisplay::dsrLine() const
{
    QMutexLocker lock(&mutex_);
    const_cast<SimulatedDisplay*>(this)->advanceLocked();
    return !vanished_ && dsrLocked(nowLocked());
}

bool SimulatedDisplay::restarting() const
{
    QMutexLocker lock(&mutex_);
    const_cast<SimulatedDisplay*>(this)->advanceLocked();
    return nowLocked() < restartUntil_;
}

int SimulatedDisplay::liveBalance() const
{
    QMutexLocker lock(&mutex_);
    return liveBalance_;
}

int SimulatedDisplay::restarts() const
{
    QMutexLocker lock(&mutex_);
    return restarts_;
}

int SimulatedDisplay::acknowledgements() const
{
    QMutexLocker lock(&mutex_);
    return acknowledged_;
}

int SimulatedDisplay::garbageBytes() const
{
    QMutexLocker lock(&mutex_);
    return garbage_;
}

QList<SimulatedDisplay::Write> SimulatedDisplay::writes() const
{
    QMutexLocker lock(&mutex_);
    return writes_;
}

QByteArray SimulatedDisplay::wire() const
{
    QMutexLocker lock(&mutex_);
    QByteArray all;
    for (const Write& w : writes_)
        all += w.bytes;
    return all;
}

void SimulatedDisplay::powerCycle()
{
    QMutexLocker lock(&mutex_);
    advanceLocked();
    restartLocked(nowLocked());
}
