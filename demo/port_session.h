#pragma once

#include "serial_port.h"

#include <QString>
#include <memory>

class QWidget;
struct DemoContext;

// A window's hold on the shared port: opens it with the port and settings in force, writes bytes or
// text, and closes it. Every failure is told to the person in a "Port Error" box naming the port and
// the system's reason, and leaves the port closed; callers stop their sequence at the first false.
class PortSession
{
public:
    PortSession(DemoContext& context, QWidget* owner);
    ~PortSession();

    bool open();
    // Opens a port named here instead of the shared choice.
    bool openPort(const QString& portText);
    bool send(const QByteArray& bytes);
    // Text in the displays' single-byte page; text with a character the page lacks is refused before
    // anything is written.
    bool sendText(const QString& text);
    // The bytes the text becomes, or a box telling why it cannot be sent.
    bool encode(const QString& text, QByteArray& bytes);
    void close();
    bool isOpen() const;

private:
    void report(const QString& what, const PortError& error);
    QWidget* boxParent() const;

    DemoContext& context_;
    QWidget* owner_;
    std::unique_ptr<SerialPort> port_;
    QString portText_;
};
