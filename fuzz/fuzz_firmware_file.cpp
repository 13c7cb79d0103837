// The firmware file check on any content under names of every kind. A file passes only when its
// name is right, its size is within 3..49152 bytes and its last two bytes are the CRC-16 of the
// rest plus one 0x00 byte, high byte first; every refusal has a box that says it.
#include "fuzz/fuzz_files.h"
#include "fuzz/fuzz_input.h"
#include "fuzz/fuzz_require.h"
#include "fuzz/reference_crc16.h"
#include "setup/messages/message_catalogue.h"
#include "setup/operations/firmware_file.h"

namespace {

struct ChosenName
{
    const char* name;
    bool accepted; // whether the name alone lets the file through to the size and CRC checks
};

constexpr ChosenName kNames[] = {
    {"vq7146.wfu", true},  {"VQ7140.WFU", true},  {"fw_Vq7152.wfu.bak", true}, {"vq7146.wfu ", true},
    {"update.wfu", false}, {"vq7146.bin", false}, {"vq7146wfu", false},        {"", false}, // nothing chosen
    {"vq7141.wfu", false}, {"VQ7152.Wfu", true},
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzInput input(data, size);
    const ChosenName chosen = kNames[input.byte() % std::size(kNames)];
    const uint8_t shape = input.byte();
    const uint16_t stretchTo = input.word();
    QByteArray content = input.rest();
    if (shape & 1) // reach the size limit without inputs of that size
        content = stretch(content, stretchTo);
    const auto imageCrc = [&] {
        return referenceCrc16(content.left(content.size() - 2) + QByteArray(1, '\0'));
    };
    if ((shape & 2) && content.size() >= 2) { // a trailer that matches, so valid files are common
        const uint16_t crc = imageCrc();
        content[content.size() - 2] = static_cast<char>(crc >> 8);
        content[content.size() - 1] = static_cast<char>(crc & 0xFF);
    }

    const QString name = QString::fromLatin1(chosen.name);
    const QString path = name.isEmpty() ? QString() : writeFuzzFile(name, content);
    const FirmwareFileCheck check = checkFirmwareFile(path);

    const qsizetype n = content.size();
    const bool sizeFits = n >= 3 && n <= kFirmwareFileLimit;
    const bool crcMatches = n >= 3 && imageCrc() == (static_cast<uint8_t>(content.at(n - 2)) << 8 |
                                                     static_cast<uint8_t>(content.at(n - 1)));
    const bool expectValid = chosen.accepted && sizeFits && crcMatches;

    require(check.valid() == expectValid);
    require(expectValid || refusalMessage(*check.refusal).has_value());
    // The image of a file that passed is exactly its bytes.
    require(check.image == (expectValid ? content.left(n - 2) + QByteArray(1, '\0') : QByteArray()));
    return 0;
}
