#include "model/kp685_sequence.h"

#include "model/byte_text.h"
#include "model/maker_lines.h"

#include <QStringEncoder>

namespace {

const QByteArray Esc("\x1B");
const QByteArray Lf("\x0A");

// The printer's own page is the traditional-Chinese double-byte Big5, whatever encoding the displays
// are given: it is what the maker's own Windows sent for these lines, and its ASCII half carries the
// telephone and fax lines unchanged.
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
        big5(makerTelephoneLine()) + Lf,
        big5(makerFaxLine()) + Lf,
        Esc + "!" + chr(17),
    };
}
