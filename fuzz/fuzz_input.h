// Reads a fuzzer's input as a sequence of small decisions, so that one byte string can describe a
// file, a name or a whole session. Past the end every read gives zero: a short input is still a
// complete, if dull, session.
#pragma once

#include <QByteArray>
#include <cstddef>
#include <cstdint>

class FuzzInput
{
public:
    FuzzInput(const uint8_t* data, size_t size) : data_(data), size_(size) {}

    bool empty() const { return position_ >= size_; }
    size_t remaining() const { return empty() ? 0 : size_ - position_; }

    uint8_t byte() { return empty() ? 0 : data_[position_++]; }
    uint16_t word() { return static_cast<uint16_t>(byte() << 8 | byte()); }
    // A number in [0, count).
    uint32_t choose(uint32_t count) { return count == 0 ? 0 : word() % count; }
    // The next `count` bytes, fewer when the input ends first.
    QByteArray bytes(size_t count)
    {
        const size_t taken = count < remaining() ? count : remaining();
        const QByteArray out(reinterpret_cast<const char*>(data_ + position_), static_cast<qsizetype>(taken));
        position_ += taken;
        return out;
    }
    QByteArray rest() { return bytes(remaining()); }

private:
    const uint8_t* data_;
    size_t size_;
    size_t position_ = 0;
};
