// vfdemu's command line from any arguments: a refusal is short and prints as it stands, whatever the
// arguments held, and a line that runs asks for a display that can be run and reads back the same when
// its options are written out again.
#include "core/quoted_value.h"
#include "emu/emu_options.h"
#include "fuzz/fuzz_input.h"
#include "fuzz/fuzz_require.h"

#include <QStringList>

namespace {

// The words of vfdemu's command line, so that the fuzzer reaches past "unknown option".
const char* const kWords[] = {
    "--model", "--settings", "--link", "--port",   "--headless",  "--screen-file", "--trace",       "--help",
    "-h",      "--version",  "-v",     "--model=", "--settings=", "--link=",       "--screen-file="};

// Arguments are cut at each zero byte; one that starts with a byte below 16 starts with that word.
QStringList argumentsFrom(const uint8_t* data, size_t size)
{
    QStringList arguments;
    const QByteArray all(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    for (const QByteArray& piece : all.split('\0')) {
        const auto first = piece.isEmpty() ? 255u : static_cast<unsigned char>(piece.at(0));
        if (first < sizeof kWords / sizeof kWords[0])
            arguments << QString::fromLatin1(kWords[first]) + QString::fromUtf8(piece.mid(1));
        else
            arguments << QString::fromUtf8(piece);
    }
    return arguments;
}

const char* modelName(DisplayProduct model)
{
    return model == DisplayProduct::KD426 ? "kd426" : model == DisplayProduct::KD138 ? "kd138" : "kd317";
}

bool sameOptions(const EmuOptions& a, const EmuOptions& b)
{
    return a.model == b.model && a.settings == b.settings && a.link == b.link && a.port == b.port &&
           a.screenFile == b.screenFile && a.headless == b.headless && a.trace == b.trace;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const EmuCommandLine command = parseEmuCommandLine(argumentsFrom(data, size));
    if (command.action == EmuCommandLine::Action::Refuse) {
        // A quoted value is at most kQuotedValueLength characters, each at most a 10-character escape.
        require(!command.refusal.isEmpty() && command.refusal.size() <= 100 + 10 * kQuotedValueLength);
        // By character, not by UTF-16 unit: a quoted CJK character beyond the BMP prints as a pair.
        for (const char32_t code : command.refusal.toUcs4())
            require(QChar::isPrint(code) && (code == U' ' || !QChar::isSpace(code)));
    }
    if (command.action != EmuCommandLine::Action::Run)
        return 0;
    const EmuOptions& options = command.options;
    require(options.settings.baud > 0 && options.port.isEmpty());
    QStringList again = {QStringLiteral("--model=") + QLatin1String(modelName(options.model)),
                         QStringLiteral("--settings=") + options.settings.toText(),
                         QStringLiteral("--link=") + options.link,
                         QStringLiteral("--screen-file=") + options.screenFile};
    if (options.headless)
        again << QStringLiteral("--headless");
    if (options.trace)
        again << QStringLiteral("--trace");
    const EmuCommandLine reread = parseEmuCommandLine(again);
    require(reread.action == EmuCommandLine::Action::Run && sameOptions(reread.options, options));
    return 0;
}
