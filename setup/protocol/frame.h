#pragma once

#include "core/wire_text.h"

#include <QByteArray>
#include <QString>
#include <concepts>
#include <initializer_list>
#include <type_traits>

// One item of a command frame. Its kind decides its bytes: a byte item one byte, a word item two
// bytes high byte first, a text item its characters' bytes in the wire encoding. A boolean
// or a floating-point number has no bytes on the wire, so it does not compile as an item.
class FrameItem
{
public:
    enum Kind { Byte, Word, Text };

    template <std::integral T>
    requires(!std::same_as<T, bool>) FrameItem(T byteValue)
        : kind_(Byte), value_(static_cast<qint64>(byteValue))
    {
        if constexpr (std::is_unsigned_v<T> && sizeof(T) >= sizeof(qint64))
            if (byteValue > 0xFFFF'FFFFu)
                value_ = -1; // far out of range either way
    }
    FrameItem(const char* text) : kind_(Text), text_(QString::fromLatin1(text)) {}
    FrameItem(const QString& text) : kind_(Text), text_(text) {}
    FrameItem(bool) = delete;
    FrameItem(std::floating_point auto) = delete;
    static FrameItem word(qint64 value) { return FrameItem(Word, value); }

    Kind kind() const { return kind_; }
    qint64 value() const { return value_; }
    const QString& text() const { return text_; }

private:
    FrameItem(Kind kind, qint64 value) : kind_(kind), value_(value) {}
    Kind kind_;
    qint64 value_ = 0;
    QString text_;
};

// Concatenates the items' bytes in order. A byte item outside 0..255, a word item outside
// 0..65535 or a text with a character that has no byte on the wire fails the whole frame:
// the result is then a null byte array, which DisplaySession::write refuses to write.
QByteArray buildFrame(std::initializer_list<FrameItem> items, const WireEncoding& encoding = WireEncoding());
