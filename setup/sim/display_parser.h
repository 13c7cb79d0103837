#pragma once

#include <QByteArray>
#include <functional>

// Splits the byte stream that a VQ71xx display receives into what it acts on: the setup request
// (a run of 20 bytes 0x02), the clear byte 0x0C, characters for the screen, and the commands
// 0x1F 'F' letter with their payloads. Pure: it only parses, the display decides what to do.
class DisplayParser
{
public:
    struct Item
    {
        enum Kind { SetupRequest, Clear, Character, Command, Unknown };
        Kind kind = Unknown;
        char letter = 0;    // the command letter after 0x1F 'F' ('R', '@', 'N', 'C', 'Z', 'M', ...)
        quint8 byte = 0;    // the character, or the balance value of "Fb"
        quint16 crc = 0;    // the check value sent before a payload
        int length = 0;     // the length field sent before a payload
        bool erase = false; // the all-zero form of "FN", "FC" and "FM"
        QByteArray payload; // the block, page or display text

        static Item of(Kind kind, quint8 byte = 0)
        {
            Item item;
            item.kind = kind;
            item.byte = byte;
            return item;
        }
    };

    explicit DisplayParser(std::function<void(const Item&)> sink) : sink_(std::move(sink)) {}
    void feed(quint8 byte);
    void feed(const QByteArray& bytes);
    // Drops a half-received command (the display restarted).
    void reset();

private:
    enum State { Idle, Escape, CommandLetter, Header, Payload, BalanceMark, BalanceValue, EraseTail };
    void emitItem(Item item);
    void startCommand(char letter);
    void headerComplete();

    std::function<void(const Item&)> sink_;
    State state_ = Idle;
    int setupRun_ = 0;
    Item current_;
    QByteArray header_;
    int headerNeeded_ = 0;
};
