#pragma once

#include "demo/emulators/customer_display_emulator.h"
#include "demo/model/display_product.h"

#include "core/line_settings.h"

#include <QObject>
#include <optional>

class Pacer;

// One customer display at the end of a line: the model's emulator, fed every byte that arrives. Bytes
// sent at settings other than the display's own reach the model as the garbage a real display would
// make of them, and each change of the sender's settings is logged. With the trace on, every byte
// received and every byte or command the model did not understand goes to the wire trace.
class VirtualDisplay : public QObject
{
    Q_OBJECT
public:
    VirtualDisplay(const Pacer& clock, DisplayProduct model, const LineSettings& settings);

    // Bytes off the line, sent at `sentAt`.
    void receive(const QByteArray& bytes, const LineSettings& sentAt);

    CustomerDisplayEmulator& emulator() { return emulator_; }
    DisplayProduct model() const { return model_; }
    const LineSettings& settings() const { return settings_; }
    qint64 bytesReceived() const { return bytesReceived_; }

signals:
    // The screen may show something else.
    void changed();

private:
    void noteSender(const LineSettings& sentAt);
    void traceNotUnderstood();

    const Pacer& clock_;
    CustomerDisplayEmulator emulator_;
    DisplayProduct model_;
    LineSettings settings_;
    std::optional<LineSettings> sender_;
    int traced_ = 0;
    qint64 bytesReceived_ = 0;
};

// "kd317", "kd426", "kd138" as they are typed after --model.
std::optional<DisplayProduct> modelNamed(const QString& name);
