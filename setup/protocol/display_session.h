#pragma once

#include "protocol/frame.h"

#include <QByteArray>
#include <QString>
#include <initializer_list>

class DeviceContext;

// One conversation with the display, from the open to the close. Made, it opens the port with the
// presence wait; gone out of scope, it lets what was written leave the port and closes it, whatever
// path leaves the operation. Its steps write through the device, so once the operation is stopped
// or a write has failed, nothing more is sent.
class DisplaySession
{
public:
    explicit DisplaySession(DeviceContext& device);
    ~DisplaySession();
    DisplaySession(const DisplaySession&) = delete;
    DisplaySession& operator=(const DisplaySession&) = delete;

    // True when the port opened and the display held DSR; otherwise the person has been told why.
    bool isOpen() const { return open_; }
    DeviceContext& device() { return device_; }

    // Writes bytes as one write; false when nothing (more) can be sent.
    bool write(const QByteArray& bytes);
    // Writes one frame built from its items.
    bool writeFrame(std::initializer_list<FrameItem> items) { return write(BuildFrame(items)); }
    // "FR", the record's command, the CRC of the record, its length in one byte, the record: five writes.
    bool writeRecord(const char* command, const QByteArray& record);
    // "FR", the record's command and four zero bytes.
    bool eraseRecord(const char* command);
    // The setup request (or, in forced firmware mode, only the switch to the setup rate).
    bool sendSetupRequest(bool sendRequest = true);
    // The acknowledgement; with grace 0 a missing one is shown and gives false.
    bool awaitAck(double graceSeconds = 0);
    // The "Port Status" box with `firstLine` and "Display will restart !!", then "FR" and "F@".
    bool confirmAndRestart(const QString& firstLine);

private:
    DeviceContext& device_;
    bool open_;
};
