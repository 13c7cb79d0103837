#include "demo/emulators/kd138_display.h"

#include "demo/emulators/code_table.h"
#include "demo/emulators/command_steps.h"
#include "demo/emulators/sim_log.h"

namespace {

constexpr int kWpc1252 = 16;

} // namespace

void Kd138Display::powerOn()
{
    pending_.clear();
    grid_.clear();
    column_ = 0;
}

void Kd138Display::feed(const QByteArray& bytes)
{
    feedInSteps(pending_, bytes, [this](const QByteArray& pending) { return step(pending); });
}

int Kd138Display::step(const QByteArray& pending)
{
    const auto byte = static_cast<unsigned char>(pending.at(0));
    switch (byte) {
    case 0x0C:
        grid_.clear();
        column_ = 0;
        return 1;
    case 0x0D:
        column_ = 0;
        return 1;
    case 0x1B:
        break;
    default:
        if (byte < 0x20) {
            log_.add(QStringLiteral("KD-138"), QStringLiteral("unknown control code"), pending.left(1));
        } else {
            put(byte);
        }
        return 1;
    }
    if (pending.size() >= 2 && pending.at(1) != 'Q') {
        log_.add(QStringLiteral("KD-138"), QStringLiteral("unknown ESC command"), pending.left(2));
        return 2;
    }
    if (pending.size() < 3) {
        return 0;
    }
    if (pending.at(2) != 'A') {
        // ESC Q with another letter names a line this model does not have.
        log_.add(QStringLiteral("KD-138"), QStringLiteral("no such line"), pending.left(3));
        return 3;
    }
    const int cr = pending.indexOf('\x0D', 3);
    if (cr < 0) {
        if (pending.size() > kMaxLineBytes) {
            log_.add(QStringLiteral("KD-138"), QStringLiteral("line command without CR"), pending);
            return int(pending.size());
        }
        return 0;
    }
    // The line is replaced whole: what the text does not reach is blank.
    grid_.clear();
    column_ = 0;
    for (const char c : pending.mid(3, cr - 3)) {
        if (column_ < kColumns) {
            put(static_cast<unsigned char>(c));
        }
    }
    column_ = 0;
    return cr + 1;
}

void Kd138Display::put(unsigned char byte)
{
    if (column_ >= kColumns) {
        column_ = 0;
    }
    grid_.at(0, column_) = VfdCell{byte < 0x80 ? char32_t(byte) : upperHalfCharacter(kWpc1252, byte)};
    ++column_;
}

VfdFrame Kd138Display::frame() const
{
    VfdFrame shown(grid_);
    return shown;
}
