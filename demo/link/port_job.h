#pragma once

#include "demo/model/display_product.h"

#include "core/line_settings.h"
#include "core/wire_text.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <optional>

// One thing a port job does.
struct PortStep
{
    enum Kind { Open, Write, Text, Pause, Close };

    Kind kind = Write;
    QString portText;                             // Open: "COM3", the system's name of a port, or "sim"
    LineSettings settings;                        // Open
    DisplayProduct model = DisplayProduct::KD317; // Open: the model whose demonstration opens the port
    QByteArray bytes;                             // Write
    QString text;                                 // Text: written in the window port's wire encoding
    int ms = 0;                                   // Pause
};

// Port work that goes to the device worker's thread in one piece: opens, writes, fixed pauses and closes, in
// order. The first step that fails ends it, with the port closed.
class PortJob
{
public:
    PortJob& open(const QString& portText, const LineSettings& settings, DisplayProduct model);
    // Nothing is written for no bytes.
    PortJob& write(const QByteArray& bytes);
    // Text, written in the wire encoding the person chose; see encodeTexts.
    PortJob& text(const QString& text);
    PortJob& pause(int ms);
    // Closes the port; kept after a refused text too, so that a port opened here is let go.
    PortJob& close();

    const QList<PortStep>& steps() const { return steps_; }
    bool isEmpty() const { return steps_.isEmpty(); }
    bool opens() const;
    bool endsClosed() const { return !steps_.isEmpty() && steps_.last().kind == PortStep::Close; }
    const std::optional<QString>& refusedText() const { return refused_; }
    // Turns each text into its bytes in `encoding`. A text with a character the encoding lacks is
    // refused: neither it nor any later write or pause is sent (a close is kept), and the job says which
    // text it was.
    void encodeTexts(const WireEncoding& encoding);

private:
    PortJob& add(PortStep step);

    QList<PortStep> steps_;
    std::optional<QString> refused_;
};
