#include "demo/emulators/code_table.h"

#include "core/text_codec.h"
#include <QHash>
#include <QList>
#include <array>

namespace {

const std::array<CodeTable, 11> kTables = {{
    {0, "PC437", "IBM437"},
    {1, "Katakana", "Shift_JIS"},
    {2, "PC850", "IBM850"},
    {3, "PC860", "IBM860"},
    {4, "PC863", "IBM863"},
    {5, "PC865", "IBM865"},
    {6, "PC852", "IBM852"},
    {7, "PC866", "IBM866"},
    {12, "PC737", "IBM737"},
    {16, "WPC1252", "windows-1252"},
    {19, "PC858", "IBM00858"},
}};

using UpperHalf = std::array<char32_t, 128>;

// Each byte is decoded on its own: in a multi-byte page such as Shift_JIS a lead byte must not swallow
// the byte after it, since the display draws one cell per byte.
UpperHalf decodeUpperHalf(const char* codePage)
{
    UpperHalf half;
    half.fill(U' ');
    for (int byte = 128; byte < 256; ++byte) {
        if (!TextCodec::isKnown(codePage)) {
            break;
        }
        const std::optional<QString> text =
            TextCodec::decode(codePage, QByteArray(1, static_cast<char>(byte)));
        const QList<uint> ucs4 = text ? text->toUcs4() : QList<uint>();
        // Holes in a page come back as replacement characters or C1 control codes: both stay blank.
        const bool drawable = ucs4.size() == 1 && ucs4[0] != 0xFFFD && !(ucs4[0] >= 0x80 && ucs4[0] < 0xA0);
        if (drawable) {
            half[byte - 128] = ucs4[0];
        }
    }
    return half;
}

} // namespace

const CodeTable* findCodeTable(int number)
{
    for (const CodeTable& table : kTables) {
        if (table.number == number) {
            return &table;
        }
    }
    return nullptr;
}

char32_t upperHalfCharacter(int number, unsigned char byte)
{
    static QHash<int, UpperHalf> decoded;
    const CodeTable* table = findCodeTable(number);
    if (table == nullptr || byte < 128) {
        return byte < 128 ? char32_t(byte) : U' ';
    }
    auto found = decoded.find(number);
    if (found == decoded.end()) {
        found = decoded.insert(number, decodeUpperHalf(table->codePage));
    }
    return (*found)[byte - 128];
}
