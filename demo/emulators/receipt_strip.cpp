#include "demo/emulators/receipt_strip.h"

#include "demo/emulators/code_table.h"
#include "demo/emulators/command_steps.h"
#include "demo/emulators/sim_log.h"

void ReceiptStrip::reset()
{
    pending_.clear();
    lines_.clear();
    current_.clear();
    currentWidth_ = 0;
    mode_ = 0;
}

void ReceiptStrip::feed(const QByteArray& bytes)
{
    feedInSteps(pending_, bytes, [this](const QByteArray& pending) { return step(pending); });
}

int ReceiptStrip::step(const QByteArray& pending)
{
    const auto byte = static_cast<unsigned char>(pending.at(0));
    if (byte == 0x1B) {
        if (pending.size() < 2) {
            return 0;
        }
        const char command = pending.at(1);
        if (command == '@') {
            mode_ = 0;
            return 2;
        }
        if (command != '!' && command != 'd') {
            log_.add(QStringLiteral("printer"), QStringLiteral("unknown ESC command"), pending.left(2));
            return 2;
        }
        if (pending.size() < 3) {
            return 0;
        }
        const int n = static_cast<unsigned char>(pending.at(2));
        if (command == '!') {
            mode_ = n;
            return 3;
        }
        // ESC d n prints and feeds n lines in all, the printed one included (ESC d 0 only prints).
        printLine();
        for (int i = 1; i < n; ++i) {
            printLine();
        }
        return 3;
    }
    if (byte == 0x0A) {
        printLine();
    } else if (byte == 0x0D || byte == 0x00) {
        // CR only returns the carriage: the line is printed by LF.
    } else if (byte < 0x20 || byte == 0x7F) {
        log_.add(QStringLiteral("printer"), QStringLiteral("unknown control code"), pending.left(1));
    } else {
        addCharacter(byte < 0x80 ? char32_t(byte) : upperHalfCharacter(0, byte));
    }
    return 1;
}

void ReceiptStrip::addCharacter(char32_t character)
{
    const int width = (mode_ & 0x20) != 0 ? 2 : 1;
    if (currentWidth_ + width > kPaperColumns) {
        printLine();
    }
    const QString text = QString::fromUcs4(&character, 1);
    if (!current_.isEmpty() && current_.last().mode == mode_) {
        current_.last().text += text;
    } else {
        current_.append(Run{text, mode_});
    }
    currentWidth_ += width;
}

void ReceiptStrip::printLine()
{
    lines_.append(current_);
    current_.clear();
    currentWidth_ = 0;
    while (lines_.size() > kMaxLines) {
        lines_.removeFirst();
    }
}

QStringList ReceiptStrip::lineTexts() const
{
    QStringList texts;
    for (const Line& line : lines_) {
        QString text;
        for (const Run& run : line) {
            text += run.text;
        }
        texts.append(text);
    }
    return texts;
}
