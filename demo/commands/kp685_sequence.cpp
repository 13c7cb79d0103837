#include "commands/kp685_sequence.h"

#include "commands/maker_lines.h"
#include "link/byte_text.h"

#include "core/wire_text.h"

#include <QStringEncoder>

namespace {

const QByteArray Esc("\x1B");
const QByteArray Lf("\x0A");

// The printer's Chinese mode takes the traditional-Chinese double-byte page, Big5, which is what the
// maker's own Windows sent for these lines; Windows-1252 has no Chinese characters at all.
QByteArray big5(const QString& text)
{
    QStringEncoder encoder("Big5");
    return encoder.encode(text);
}

} // namespace

QList<QByteArray> kp685Sequence()
{
    return {
        Esc + "!" + chr(17),
        Esc + "x2",
        big5(makerChineseName()) + Lf,
        Esc + "x0",
        big5(makerChineseAddress()) + Lf,
        Esc + "!" + chr(33),
        encodeWireText(makerTelephoneLine()).value_or(QByteArray()) + Lf,
        encodeWireText(makerFaxLine()).value_or(QByteArray()) + Lf,
        Esc + "!" + chr(17),
    };
}
