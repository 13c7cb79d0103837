// The VQ71xx display's byte parser on any bytes, then the whole simulated display driven by the
// same input read as a session: opens, closes, writes of raw bytes and of sound frames at the
// display's settings or others, fault switches, power cycles and random steps of virtual time.
// Whatever arrives, the display keeps a 40-character screen, sane flash regions, a DSR that is
// low on a closed port, and never reports more bytes waiting than the host has written.
#include "core/pacer.h"
#include "fuzz/fuzz_input.h"
#include "fuzz/fuzz_require.h"
#include "fuzz/reference_crc16.h"
#include "setup/sim/display_flash.h"
#include "setup/sim/display_parser.h"
#include "setup/sim/simulated_display.h"

#include <cstdlib>

namespace {

using Item = DisplayParser::Item;

void checkItem(const Item& item)
{
    if (item.kind != Item::Command)
        return;
    if (item.erase) {
        require(item.crc == 0 && item.length == 0 && item.payload.isEmpty());
        require(item.letter == 'N' || item.letter == 'C' || item.letter == 'M');
    } else {
        require(item.payload.size() == item.length);
        require(item.length <= (item.letter == 'M' ? 0xFFFF : 0xFF));
    }
}

QList<Item> parse(const QByteArray& bytes)
{
    QList<Item> items;
    DisplayParser parser([&](const Item& item) {
        checkItem(item);
        items << item;
    });
    parser.feed(bytes);
    return items;
}

bool sameItems(const QList<Item>& a, const QList<Item>& b)
{
    if (a.size() != b.size())
        return false;
    for (qsizetype i = 0; i < a.size(); ++i) {
        const Item& x = a.at(i);
        const Item& y = b.at(i);
        if (x.kind != y.kind || x.letter != y.letter || x.byte != y.byte || x.crc != y.crc ||
            x.length != y.length || x.erase != y.erase || x.payload != y.payload)
            return false;
    }
    return true;
}

// The parser alone: item shapes, the same items whether the bytes come at once or one by one, and
// a reset that really forgets a half-received command.
void fuzzParser(const QByteArray& bytes)
{
    const QList<Item> whole = parse(bytes);

    QList<Item> oneByOne;
    DisplayParser single([&](const Item& item) { oneByOne << item; });
    for (const char c : bytes)
        single.feed(static_cast<quint8>(c));
    require(sameItems(whole, oneByOne));

    QList<Item> afterReset;
    DisplayParser reused([&](const Item& item) {
        checkItem(item);
        afterReset << item;
    });
    reused.feed(bytes.left(bytes.size() / 2));
    reused.reset();
    afterReset.clear();
    reused.feed(bytes);
    require(sameItems(whole, afterReset));
}

QString settings(FuzzInput& input)
{
    static const char* const kBauds[] = {"1200", "4800", "9600", "19200", "38400", "115200", "0", "1", "2"};
    static const char* const kFormats[] = {"N,8,1", "E,8,1", "O,8,1",   "N,7,1", "E,7,1", "O,7,1",
                                           "n,8,1", "N,8,2", "M,5,1.5", "N,8",   "",      "N,,1"};
    const uint8_t pick = input.byte();
    const QString baud = (pick & 0x80) ? QString::number(input.word() * 37)
                                       : QString::fromLatin1(kBauds[pick % std::size(kBauds)]);
    return baud + QLatin1Char(',') + QString::fromLatin1(kFormats[input.byte() % std::size(kFormats)]);
}

SimulatedDisplay::Faults faults(FuzzInput& input)
{
    const uint8_t switches = input.byte();
    SimulatedDisplay::Faults f;
    f.absent = switches & 1;
    f.outputNeverDrains = switches & 2;
    f.portMissing = switches & 4;
    f.portBusy = switches & 8;
    f.dipSwitch12On = switches & 16;
    f.dsrDelay = (switches & 32) ? input.byte() / 20.0 : 0.0;
    f.acknowledgeFirst = (switches & 64) ? input.byte() % 16 : -1;
    f.vanishAfterWrites = (switches & 128) ? input.byte() % 32 : -1;
    f.pulseWidth = input.byte() / 500.0;
    f.ackLatency = input.byte() / 1000.0;
    return f;
}

// A frame the display takes as sound: 1F 'F' letter, the CRC of the payload, its length, the payload.
QByteArray soundFrame(FuzzInput& input)
{
    static const char kLetters[] = {'N', 'C', 'Z', 'M', 'D', 'b', 'W', 'F', '@', 'R'};
    const char letter = kLetters[input.byte() % std::size(kLetters)];
    QByteArray frame = QByteArray::fromHex("1F46") + letter;
    if (letter == 'b')
        return frame + '\x0D' + static_cast<char>(input.byte());
    if (letter == 'D') {
        const QByteArray text = input.bytes(input.byte() % 48);
        return frame + static_cast<char>(text.size()) + text;
    }
    if (letter != 'N' && letter != 'C' && letter != 'Z' && letter != 'M')
        return frame;
    QByteArray payload = input.bytes(letter == 'M' ? input.word() % 600 : input.byte());
    const uint8_t shape = input.byte();
    if (shape & 1) // open with the block signature, as every record and header does
        payload = kBlockSignature + payload.mid(4);
    if (letter == 'C' && (shape & 2))
        payload =
            (kBlockSignature + QByteArray::fromHex("200003") + payload.mid(7)).leftJustified(47, ' ', true);
    if (letter == 'N' && (shape & 2))
        payload = (kBlockSignature + payload.mid(4)).leftJustified(64, '\0', true);
    if (letter == 'Z' && (shape & 2))
        payload = kBlockSignature + static_cast<char>(input.byte());
    const uint16_t crc = referenceCrc16(payload);
    frame += static_cast<char>(crc >> 8);
    frame += static_cast<char>(crc & 0xFF);
    if (letter == 'M')
        frame += static_cast<char>(payload.size() >> 8);
    return frame + static_cast<char>(payload.size() & 0xFF) + payload;
}

void checkDisplay(SimulatedDisplay& display, const QByteArray& accepted, qint64 written)
{
    const QStringList screen = display.screen();
    require(screen.size() == 2 && screen.at(0).size() == 20 && screen.at(1).size() == 20);
    const qint64 waiting = display.bytesToWrite();
    require(waiting >= 0 && waiting <= written);
    require(display.wire() == accepted);
    if (!display.isOpen())
        require(display.dsr() == DsrLevel::Low);
    const DisplayFlash flash = display.flash();
    require(flash.generalRecord.isEmpty() || isGeneralRecord(flash.generalRecord));
    require(flash.titleBlock.isEmpty() || isTitleBlock(flash.titleBlock));
    require(flash.demoPages >= 0 && flash.demoPages <= 0xFF - 0x78);
    require(flash.balance >= 0 && flash.balance <= 255);
    require(display.liveBalance() >= 0 && display.liveBalance() <= 255);
    require(display.listeningSettings().baud > 0);
}

void fuzzDisplay(FuzzInput& input)
{
    VirtualPacer pacer;
    SimulatedDisplay display(pacer);
    QByteArray accepted;
    qint64 written = 0;
    int acknowledgements = 0;
    int restarts = 0;
    const auto write = [&](const QByteArray& bytes) {
        if (display.write(bytes).ok()) {
            accepted += bytes;
            written += bytes.size();
        }
    };
    for (int step = 0; step < 400 && !input.empty(); ++step) {
        switch (input.byte() % 12) {
        case 0:
            write(input.bytes(input.byte()));
            break;
        case 1: // at the settings the display listens at, so that it understands
            display.setSettings(display.listeningSettings());
            write(input.bytes(input.byte()));
            break;
        case 2:
            display.setSettings(display.listeningSettings());
            write(soundFrame(input));
            break;
        case 3:
            write(QByteArray(20, '\x02'));
            break;
        case 4:
            if (const std::optional<LineSettings> line = LineSettings::parse(settings(input)))
                display.setSettings(*line);
            break;
        case 5:
            pacer.advance(input.word() % 3000);
            break;
        case 6:
            for (int i = input.byte(); i > 0; --i)
                pacer.pump();
            break;
        case 7:
            display.open();
            break;
        case 8:
            display.close();
            break;
        case 9:
            display.powerCycle();
            break;
        case 10:
            display.setFaults(faults(input));
            break;
        case 11:
            display.dsrLine();
            display.restarting();
            display.garbageBytes();
            break;
        }
        checkDisplay(display, accepted, written);
        require(display.acknowledgements() >= acknowledgements && display.restarts() >= restarts);
        acknowledgements = display.acknowledgements();
        restarts = display.restarts();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzzParser(QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)));
    FuzzInput input(data, size);
    fuzzDisplay(input);
    return 0;
}
