#include "setup/sim/simulated_flash_file.h"

#include "core/user_state_folder.h"
#include "core/whole_file_save.h"
#include "setup/operations/input_file.h"
#include "setup/sim/simulated_display.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <optional>

namespace {

const QByteArray kHeader = "talvex simulated VQ71xx flash 1";
// The lines after the header, each "name value", in this order.
const QList<QByteArray> kLineNames = {"general",  "title",   "demo-pages",    "demo",
                                      "firmware", "balance", "balance-in-use"};
// A sound file holds every region in hex, well under this; anything longer is not one.
constexpr qint64 kLongestFile = 1 << 20;

// What a display keeps between runs.
struct Kept
{
    DisplayFlash flash;
    int balanceInUse = 128;
};

QByteArray encodeKept(const Kept& kept)
{
    const DisplayFlash& flash = kept.flash;
    const QList<QByteArray> values = {flash.generalRecord.toHex(),
                                      flash.titleBlock.toHex(),
                                      QByteArray::number(flash.demoPages),
                                      flash.demo.toHex(),
                                      flash.firmware.toHex(),
                                      QByteArray::number(flash.balance),
                                      QByteArray::number(kept.balanceInUse)};
    QByteArray text = kHeader + '\n';
    for (qsizetype i = 0; i < kLineNames.size(); ++i)
        text += kLineNames.at(i) + ' ' + values.at(i) + '\n';
    return text;
}

std::optional<QByteArray> hexValue(const QByteArray& text)
{
    const bool hex = std::all_of(text.begin(), text.end(), [](char c) {
        return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
    });
    if (!hex || text.size() % 2 != 0)
        return std::nullopt;
    return QByteArray::fromHex(text);
}

std::optional<int> byteValue(const QByteArray& text)
{
    bool ok = false;
    const int value = text.toInt(&ok);
    if (!ok || value < 0 || value > 255 || QByteArray::number(value) != text)
        return std::nullopt;
    return value;
}

// What a file keeps; nothing for a file that is cut short, changed by hand into something the display
// could not hold, or not such a file at all.
std::optional<Kept> decodeKept(const QByteArray& text)
{
    const QList<QByteArray> lines = text.split('\n');
    if (lines.size() != kLineNames.size() + 2 || lines.first() != kHeader || !lines.last().isEmpty())
        return std::nullopt;
    QList<QByteArray> values;
    for (qsizetype i = 0; i < kLineNames.size(); ++i) {
        const QByteArray name = kLineNames.at(i) + ' ';
        if (!lines.at(i + 1).startsWith(name))
            return std::nullopt;
        values << lines.at(i + 1).mid(name.size());
    }
    const std::optional<QByteArray> general = hexValue(values.at(0)), title = hexValue(values.at(1)),
                                    demo = hexValue(values.at(3)), firmware = hexValue(values.at(4));
    const std::optional<int> demoPages = byteValue(values.at(2)), balance = byteValue(values.at(5)),
                             inUse = byteValue(values.at(6));
    if (!general || !title || !demo || !firmware || !demoPages || !balance || !inUse)
        return std::nullopt;
    // The display keeps only sound records, or none.
    if ((!general->isEmpty() && !isGeneralRecord(*general)) || (!title->isEmpty() && !isTitleBlock(*title)))
        return std::nullopt;
    return Kept{{*general, *title, *demo, *demoPages, *firmware, *balance}, *inUse};
}

} // namespace

QString SimulatedFlashFile::userFolder()
{
    return userStateFolder(QStringLiteral("simulated-displays"));
}

SimulatedFlashFile::SimulatedFlashFile(const QString& folder, const QString& port)
    // "sim" and "sim:NAME" (NAME of letters, digits, "_" and "-") as "sim.flash" and "sim-NAME.flash".
    : path_(folder + QLatin1Char('/') + QString(port).replace(QLatin1Char(':'), QLatin1Char('-')) +
            QStringLiteral(".flash"))
{
}

QString SimulatedFlashFile::restore(SimulatedDisplay& display) const
{
    display.setFlash({});
    QFile file(path_);
    if (!file.exists())
        return {};
    // A FIFO or a device in its place would hold the run, or never end: it is not opened.
    if (const std::optional<Refusal> irregular = refuseUnlessRegularFile(path_))
        return QStringLiteral("cannot read %1 (%2)").arg(path_, irregular->reason);
    if (!file.open(QIODevice::ReadOnly))
        return QStringLiteral("cannot read %1 (%2)").arg(path_, file.errorString());
    const std::optional<Kept> kept = decodeKept(file.read(kLongestFile + 1));
    if (!kept)
        return QStringLiteral("%1 does not hold a simulated display's flash").arg(path_);
    display.setFlash(kept->flash);
    display.setLiveBalance(kept->balanceInUse);
    return {};
}

QString SimulatedFlashFile::keep(const SimulatedDisplay& display) const
{
    const QString folder = QFileInfo(path_).path();
    if (!QDir().mkpath(folder))
        return QStringLiteral("cannot make the folder %1").arg(folder);
    const QByteArray text = encodeKept({display.flash(), display.liveBalance()});
    // A new file renamed over the old one: whoever reads it, or saves it at the same time, meets a
    // whole file; one that cannot be written whole leaves the old one in place.
    if (const QString reason = saveWholeFile(path_, text); !reason.isEmpty())
        return QStringLiteral("cannot write %1 (%2)").arg(path_, reason);
    return {};
}
