// The DEMO file check and the transfer of the file to the simulated display in virtual time. What
// the display stores must be the file without its trailer: the last two bytes, or only the bytes of
// a last block of one or two bytes, which is then not sent at all. A file too long to announce
// must be refused before anything is sent; a display that stops acknowledging may leave only a
// leading part of that.
#include "fuzz/fuzz_files.h"
#include "fuzz/fuzz_input.h"
#include "fuzz/fuzz_require.h"
#include "setup/messages/message_catalogue.h"
#include "setup/operations/demo_file.h"
#include "setup/operations/demo_transfer.h"
#include "setup/protocol/display_access.h"
#include "setup/sim/simulated_display.h"
#include "setup/tests/scripted_dialogs.h"

namespace {

const QByteArray kSignature = QByteArray::fromHex("55AA5AA5");

// What the display keeps of a file of this content after a complete transfer.
QByteArray withoutTrailer(const QByteArray& content)
{
    const qsizetype n = content.size();
    if (n == 0)
        return {};
    const qsizetype lastBlock = n % kDemoBlockSize == 0 ? kDemoBlockSize : n % kDemoBlockSize;
    return content.left(lastBlock <= 2 ? n - lastBlock : n - 2);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzInput input(data, size);
    const uint8_t shape = input.byte();
    const uint32_t stretchTo = static_cast<uint32_t>(shape & 4) << 14 | input.word(); // up to 128 KB
    const uint8_t acknowledged = input.byte();
    QByteArray content = input.rest();
    if (shape & 1)
        content = stretch(content, stretchTo);
    if ((shape & 2) && content.size() >= 4) // most files of interest carry the signature
        content.replace(0, 4, kSignature);

    const QString path = writeFuzzFile(QStringLiteral("show.dem"), content);
    const std::optional<Refusal> refusal = checkDemoFile(path);
    const std::optional<Refusal::Kind> expected = content.size() < 4 ? Refusal::DemoTooShort
                                                  : content.left(4) != kSignature
                                                      ? std::optional(Refusal::DemoWithoutSignature)
                                                      : std::nullopt;
    require(refusal.has_value() == expected.has_value() && (!refusal || refusal->kind == *expected));
    if (refusal)
        return 0; // the person is told and nothing is written

    VirtualPacer pacer;
    SimulatedDisplay display(pacer);
    ScriptedDialogs dialogs;
    DisplayAccess device(display, pacer, dialogs);
    const bool faulty = shape & 8;
    if (faulty) {
        SimulatedDisplay::Faults faults;
        faults.acknowledgeFirst = acknowledged % 8;
        display.setFaults(faults);
    }
    QList<qint64> progress;
    const Outcome outcome = writeDemo(device, path, [&](qint64 sent) { progress << sent; });
    if (const std::optional<Message> box = outcomeMessage(outcome)) // told as the window tells it
        showMessage(dialogs, *box);
    const bool written = static_cast<bool>(outcome);

    const QByteArray stored = display.flash().demo;
    const QByteArray whole = withoutTrailer(content);
    require(!display.isOpen());
    if (content.size() > kDemoMaxLength) {
        require(!written && display.writes().isEmpty() && dialogs.shown().size() == 1);
        return 0;
    }
    require(written || faulty);
    if (written) {
        require(stored == whole);
        require(display.flash().demoPages == (content.size() + kDemoBlockSize - 1) / kDemoBlockSize);
        require(progress.isEmpty() ? whole.isEmpty() : progress.last() == whole.size());
    } else {
        require(whole.startsWith(stored));
    }
    for (qsizetype i = 1; i < progress.size(); ++i)
        require(progress.at(i) > progress.at(i - 1));
    return 0;
}
