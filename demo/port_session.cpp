#include "port_session.h"

#include "demo_context.h"
#include "demo_dialogs.h"
#include "wire_text.h"

#include <QApplication>
#include <QLoggingCategory>
#include <QWidget>

// Every byte written, for a technician's trace; off unless switched on with
// QT_LOGGING_RULES="talvex.vfddemo.wire.debug=true".
Q_LOGGING_CATEGORY(lcWire, "talvex.vfddemo.wire", QtWarningMsg)

PortSession::PortSession(DemoContext& context, QWidget* owner) : context_(context), owner_(owner) {}

PortSession::~PortSession()
{
    close();
}

// A window that is not shown yet (one whose start-up failed) cannot carry a box; the window in front
// does instead.
QWidget* PortSession::boxParent() const
{
    return owner_ != nullptr && owner_->isVisible() ? owner_ : QApplication::activeWindow();
}

bool PortSession::open()
{
    close();
    if (!context_.state.portChosen()) {
        context_.dialogs->showMessage(boxParent(), DemoDialogs::Critical, QStringLiteral("Port Error"),
                                      QStringLiteral("No COM port has been chosen.\nPlease choose a port."));
        return false;
    }
    return openPort(context_.state.portText());
}

bool PortSession::openPort(const QString& portText)
{
    close();
    portText_ = portText;
    port_ = context_.makePort();
    if (!port_->open(portText_, context_.state.DemoLineSettings)) {
        const PortError error = port_->error();
        port_->close();
        port_.reset();
        report(QStringLiteral("cannot be opened"), error);
        return false;
    }
    return true;
}

bool PortSession::send(const QByteArray& bytes)
{
    if (!isOpen()) {
        return false;
    }
    if (bytes.isEmpty()) {
        return true;
    }
    qCDebug(lcWire).noquote() << portText_ << HexBytes(bytes);
    if (!port_->write(bytes)) {
        const PortError error = port_->error();
        close();
        report(QStringLiteral("failed while writing"), error);
        return false;
    }
    return true;
}

bool PortSession::encode(const QString& text, QByteArray& bytes)
{
    const std::optional<QByteArray> encoded = EncodeWireText(text);
    if (!encoded) {
        context_.dialogs->showMessage(
            boxParent(), DemoDialogs::Warning, QStringLiteral("Text Error"),
            QStringLiteral("\"%1\" holds a character the display cannot show (Windows-1252 only).\n"
                           "Nothing more is sent.")
                .arg(text));
        return false;
    }
    bytes = *encoded;
    return true;
}

bool PortSession::sendText(const QString& text)
{
    QByteArray bytes;
    return encode(text, bytes) && send(bytes);
}

void PortSession::close()
{
    if (port_) {
        port_->close();
        port_.reset();
    }
}

bool PortSession::isOpen() const
{
    return port_ && port_->isOpen();
}

void PortSession::report(const QString& what, const PortError& error)
{
    context_.dialogs->showMessage(
        boxParent(), DemoDialogs::Critical, QStringLiteral("Port Error"),
        QStringLiteral("%1 %2 (error %3):\n%4").arg(portText_, what).arg(error.number).arg(error.reason));
}
