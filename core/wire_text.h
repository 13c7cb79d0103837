#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>

// The bytes a text becomes on the wire, or why it cannot go there (empty when it can).
struct WireBytes
{
    QByteArray bytes;
    QString refusal;

    explicit operator bool() const { return refusal.isEmpty(); }
};

// The one encoding that characters go to a display in, chosen by the person: by default the system's
// ANSI code page on Windows and Windows-1252 elsewhere. A character without a byte in it is never sent
// as something else: the text is refused, and the refusal names the character and the encoding.
class WireEncoding
{
public:
    // The system's default.
    WireEncoding();
    // The encoding Qt's converters know by `name`, when they know it and it keeps ASCII as it is (a
    // display shows 0x20..0x7E as ASCII whatever its code page, so UTF-16 or EBCDIC cannot reach it).
    // A name the lists offer is matched as every typed name is (core/offered_name.h).
    static std::optional<WireEncoding> fromName(const QString& name);
    // The encodings offered in the programs' lists, each one known to this Qt; the default first.
    static QStringList offeredNames();

    QString name() const { return QString::fromLatin1(name_); }

    WireBytes encode(const QString& text) const;
    // A fixed-width display line: its bytes filled up with spaces to `width`. A line that takes more
    // bytes is refused whole, never cut inside a character.
    WireBytes encodeLine(const QString& text, int width) const;
    // The text that `bytes` hold, when every byte sequence in them is a character here.
    std::optional<QString> decode(const QByteArray& bytes) const;

    friend bool operator==(const WireEncoding&, const WireEncoding&) = default;

private:
    explicit WireEncoding(const QByteArray& name) : name_(name) {}
    // fromName as the converters spell it, without the lists' own spelling.
    static std::optional<WireEncoding> known(const QString& name);
    QByteArray name_;
};
