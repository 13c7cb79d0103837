#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

class SimLog;

// The printer behind the KD-426's pass-through, as a strip of receipt paper: ESC/POS text with its print
// modes, lines printed by LF and by ESC d n, which also feeds. Text longer than the paper is wide goes on
// to the next line, as a printer does.
class ReceiptStrip
{
public:
    static constexpr int kPaperColumns = 32; // 58 mm paper, the usual font
    static constexpr int kMaxLines = 200;    // the oldest lines are torn off

    // A run of text printed in one mode; the mode byte is that of ESC ! n.
    struct Run
    {
        QString text;
        int mode = 0;
        bool bold() const { return (mode & 0x08) != 0; }
        bool doubleHeight() const { return (mode & 0x10) != 0; }
        bool doubleWidth() const { return (mode & 0x20) != 0; }
        bool underline() const { return (mode & 0x80) != 0; }
        bool operator==(const Run&) const = default;
    };
    using Line = QList<Run>;

    explicit ReceiptStrip(SimLog& log) : log_(log) {}

    void feed(const QByteArray& bytes);
    void reset();

    const QList<Line>& lines() const { return lines_; }
    // The printed lines as plain text, for reading and tests.
    QStringList lineTexts() const;
    // Text received but not yet printed.
    const Line& unprinted() const { return current_; }
    int mode() const { return mode_; }

private:
    int step(const QByteArray& pending);
    void addCharacter(char32_t character);
    void printLine();

    SimLog& log_;
    QByteArray pending_;
    QList<Line> lines_;
    Line current_;
    int currentWidth_ = 0;
    int mode_ = 0;
};
