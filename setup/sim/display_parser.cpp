#include "setup/sim/display_parser.h"

namespace {
constexpr int kSetupRun = 20;
constexpr quint8 kIntroducer = 0x1F;
} // namespace

void DisplayParser::feed(const QByteArray& bytes)
{
    for (char c : bytes)
        feed(static_cast<quint8>(c));
}

void DisplayParser::reset()
{
    state_ = Idle;
    setupRun_ = 0;
    header_.clear();
}

void DisplayParser::emitItem(Item item)
{
    state_ = Idle;
    sink_(item);
}

void DisplayParser::startCommand(char letter)
{
    current_ = Item{};
    current_.kind = Item::Command;
    current_.letter = letter;
    header_.clear();
    switch (letter) {
    case 'N': // general record: CRC (2), length (1), record
    case 'C': // title page: CRC (2), length (1), block
    case 'Z': // header of a DEMO or firmware image: CRC (2), length (1), header
        headerNeeded_ = 3;
        state_ = Header;
        break;
    case 'M': // DEMO block or firmware page: CRC (2), length (2), data
        headerNeeded_ = 4;
        state_ = Header;
        break;
    case 'D': // display text: a count byte, then that many characters
        headerNeeded_ = 1;
        state_ = Header;
        break;
    case 'b':
        state_ = BalanceMark;
        break;
    default: // 'R', '@', 'F', 'W' and anything else stand alone
        emitItem(current_);
        break;
    }
}

void DisplayParser::headerComplete()
{
    const auto at = [this](int i) { return static_cast<quint8>(header_.at(i)); };
    if (current_.letter == 'D') {
        current_.length = at(0);
    } else {
        current_.crc = static_cast<quint16>(at(0) << 8 | at(1));
        current_.length = current_.letter == 'M' ? (at(2) << 8 | at(3)) : at(2);
    }
    const bool zero = current_.letter != 'D' && current_.crc == 0 && current_.length == 0;
    if (zero && current_.letter == 'M') {
        current_.erase = true;
        emitItem(current_);
    } else if (zero && (current_.letter == 'N' || current_.letter == 'C')) {
        state_ = EraseTail; // "FN" and "FC" erase with four zeros: one more follows
    } else if (current_.length == 0) {
        emitItem(current_);
    } else {
        state_ = Payload;
    }
}

void DisplayParser::feed(quint8 byte)
{
    switch (state_) {
    case Idle:
        if (byte == 0x02) {
            if (++setupRun_ == kSetupRun) {
                setupRun_ = 0;
                emitItem(Item::of(Item::SetupRequest));
            }
            return;
        }
        setupRun_ = 0;
        if (byte == kIntroducer) {
            state_ = Escape;
        } else if (byte == 0x0C) {
            emitItem(Item::of(Item::Clear));
        } else {
            emitItem(Item::of(Item::Character, byte));
        }
        return;
    case Escape:
        if (byte == 'F') {
            state_ = CommandLetter;
        } else {
            emitItem(Item::of(Item::Unknown, byte));
        }
        return;
    case CommandLetter:
        startCommand(static_cast<char>(byte));
        return;
    case Header:
        header_.append(static_cast<char>(byte));
        if (header_.size() == headerNeeded_)
            headerComplete();
        return;
    case Payload:
        current_.payload.append(static_cast<char>(byte));
        if (current_.payload.size() == current_.length)
            emitItem(current_);
        return;
    case EraseTail:
        current_.erase = byte == 0;
        if (!current_.erase)
            current_.kind = Item::Unknown;
        emitItem(current_);
        return;
    case BalanceMark:
        if (byte == 0x0D) {
            state_ = BalanceValue;
        } else {
            emitItem(Item::of(Item::Unknown, byte));
        }
        return;
    case BalanceValue:
        current_.byte = byte;
        emitItem(current_);
        return;
    }
}
