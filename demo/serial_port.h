#pragma once

#include <QByteArray>
#include <QString>

// Why a port operation failed: the number the messages show and the system's own words.
struct PortError
{
    int number = 0;
    QString reason;
};

// Serial port numbers shown in the messages, after the serial control the displays were first driven by.
namespace PortErrorNumber {
constexpr int Missing = 8002;     // the port does not exist
constexpr int InUse = 8005;       // another program holds the port
constexpr int BadSettings = 8015; // the line-settings text cannot be applied
constexpr int WriteFailed = 8030; // the bytes did not leave the computer
constexpr int Other = 8000;
} // namespace PortErrorNumber

// The only way vfddemo reaches a display: open with a port text and a settings text, write, close.
// Nothing is ever read back.
class SerialPort
{
public:
    virtual ~SerialPort() = default;

    // portText is "COMn" or the system's own name of a port; settings is like "9600,n,8,1".
    virtual bool open(const QString& portText, const QString& settings) = 0;
    // Writes all bytes in order; true once they have left for the line.
    virtual bool write(const QByteArray& bytes) = 0;
    virtual void close() = 0;
    virtual bool isOpen() const = 0;
    virtual PortError error() const = 0;
};
