#include "demo/model/kp685_sequence.h"

#include "demo/model/byte_text.h"
#include "demo/model/maker_lines.h"

#include "core/text_codec.h"

namespace {

const QByteArray kEsc("\x1B");
const QByteArray kLf("\x0A");

// The printer's own page is the traditional-Chinese double-byte Big5, whatever encoding the displays
// are given: it is what the maker's own Windows sent for these lines, and its ASCII half carries the
// telephone and fax lines unchanged.
QByteArray big5(const QString& text)
{
    return TextCodec::encode("Big5", text).value_or(QByteArray());
}

} // namespace

QList<QByteArray> kp685Sequence()
{
    return {
        kEsc + "!" + chr(17),
        kEsc + "x2",
        big5(makerChineseName()) + kLf,
        kEsc + "x0",
        big5(makerChineseAddress()) + kLf,
        kEsc + "!" + chr(33),
        big5(makerTelephoneLine()) + kLf,
        big5(makerFaxLine()) + kLf,
        kEsc + "!" + chr(17),
    };
}
