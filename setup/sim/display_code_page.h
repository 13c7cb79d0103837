#pragma once

#include <QByteArray>
#include <QChar>
#include <QString>
#include <array>

// How a VQ71xx display draws the bytes on its screen for the code page code in its general record:
// 0x20..0x7F are ASCII in every code page; the upper half 0x80..0xFF comes from the code page,
// through Qt's own decoder of that name. A code page that has no decoder here, or no code page at
// all (an erased record, "not set"), is drawn as PC437, the display's own, and note() says so.
class DisplayCodePage
{
public:
    // Code page codes as the general record stores them (byte 9).
    enum Code {
        PC437 = 0,
        Katakana = 1,
        PC850 = 2,
        PC860 = 3,
        PC863 = 4,
        PC865 = 5,
        Slavonic = 6,
        Russian = 7,
        Greek = 12,
        WPC1252 = 16,
        PC858 = 19,
        WPC1257 = 65,
        NotSet = 255,
    };

    explicit DisplayCodePage(int code = NotSet);

    int code() const { return code_; }
    // The Qt decoder that draws the upper half ("IBM437", "Shift_JIS", "windows-1252", ...).
    QByteArray decoderName() const { return decoderName_; }
    // Empty when the code page is drawn as itself; otherwise what it is drawn as, and why.
    QString note() const { return note_; }

    // The character the display shows for `byte`: null (a blank cell) for a control byte and for a
    // byte the code page leaves undefined, such as a Shift_JIS lead byte on a Katakana display.
    QChar character(quint8 byte) const;
    // A line of screen bytes as the person reads it.
    QString text(const QByteArray& bytes) const;

private:
    int code_;
    QByteArray decoderName_;
    QString note_;
    std::array<QChar, 128> upper_{};
};
