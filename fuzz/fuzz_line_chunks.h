// The emulated displays of vfddemo take bytes as the line delivers them, in pieces of any size and
// at any moment. A fuzz input is read as a plan of such pieces: a seed byte, then the bytes. The
// seed decides where the bytes are cut and how much time passes between two pieces.
#pragma once

#include <QByteArray>
#include <QList>
#include <cstddef>
#include <cstdint>

struct LinePiece
{
    QByteArray bytes;
    int pauseMs; // time that passes before the piece arrives
};

inline QList<LinePiece> linePieces(const uint8_t* data, size_t size)
{
    QList<LinePiece> pieces;
    if (size == 0)
        return pieces;
    uint32_t state = 0x9E3779B9u ^ data[0];
    const auto next = [&state] {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        return state;
    };
    const QByteArray bytes(reinterpret_cast<const char*>(data + 1), static_cast<qsizetype>(size - 1));
    for (qsizetype at = 0; at < bytes.size();) {
        const qsizetype length = 1 + next() % 24;
        const int pause = (next() % 4 == 0) ? static_cast<int>(next() % 2500) : 0;
        pieces.append({bytes.mid(at, length), pause});
        at += length;
    }
    return pieces;
}

// True when no command can have reached the length at which a display gives up waiting for its end,
// so that how the bytes are cut must not change what is shown.
inline bool shortEnoughToCompare(const QList<LinePiece>& pieces, qsizetype limit)
{
    qsizetype total = 0;
    for (const LinePiece& piece : pieces)
        total += piece.bytes.size();
    return total <= limit;
}
