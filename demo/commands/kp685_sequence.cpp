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
QByteArray Big5(const QString& text)
{
    QStringEncoder encoder("Big5");
    return encoder.encode(text);
}

} // namespace

QList<QByteArray> Kp685Sequence()
{
    return {
        Esc + "!" + Chr(17),
        Esc + "x2",
        Big5(MakerChineseName()) + Lf,
        Esc + "x0",
        Big5(MakerChineseAddress()) + Lf,
        Esc + "!" + Chr(33),
        EncodeWireText(MakerTelephoneLine()).value_or(QByteArray()) + Lf,
        EncodeWireText(MakerFaxLine()).value_or(QByteArray()) + Lf,
        Esc + "!" + Chr(17),
    };
}
