// The title text file read on any bytes: at most two lines, each at most 20 characters and whole
// characters only, and the lines those of the text split at CR LF, LF or a lone CR. A file holding
// a NUL byte gives no lines; bytes that are not UTF-8 are read in the wire encoding, or give no lines.
#include "core/wire_text.h"
#include "fuzz/fuzz_files.h"
#include "fuzz/fuzz_require.h"
#include "setup/operations/title_file.h"
#include "setup/operations/title_page.h"

#include <QRegularExpression>
#include <QStringDecoder>
namespace {

// No half of a surrogate pair is left alone.
bool wholeCharacters(const QString& line)
{
    for (qsizetype i = 0; i < line.size(); ++i) {
        if (line.at(i).isHighSurrogate()) {
            if (i + 1 == line.size() || !line.at(i + 1).isLowSurrogate())
                return false;
            ++i;
        } else if (line.at(i).isLowSurrogate()) {
            return false;
        }
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray content(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const TitleFileLines read = readTitleFile(writeFuzzFile(QStringLiteral("title.txt"), content));

    require(read.lines.size() <= 2);
    for (const QString& line : read.lines) {
        require(line.size() <= kTitleLineLength);
        require(!line.contains(u'\r') && !line.contains(u'\n'));
        require(wholeCharacters(line));
    }

    // The same lines by another route: decode all, drop the mark, split at every line end; a text
    // that ends in a line end has no line after it.
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = decoder.decode(content);
    if (content.contains('\0')) {
        require(read.lines.isEmpty());
        return 0;
    }
    if (decoder.hasError()) {
        // Not UTF-8: text in the wire encoding, or no text at all.
        const std::optional<QString> local = WireEncoding().decode(content);
        if (!local) {
            require(read.lines.isEmpty());
            return 0;
        }
        text = *local;
    } else if (text.startsWith(QChar(0xFEFF))) {
        text.remove(0, 1);
    }
    static const QRegularExpression kLineEnd(QStringLiteral("\r\n|\r|\n"));
    QStringList lines = text.split(kLineEnd);
    if (lines.last().isEmpty())
        lines.removeLast();
    require(read.lines.size() == std::min<qsizetype>(lines.size(), 2));
    for (qsizetype i = 0; i < read.lines.size(); ++i) {
        QString cut = lines.at(i).left(kTitleLineLength);
        if (cut.size() == kTitleLineLength && cut.back().isHighSurrogate() &&
            lines.at(i).size() > kTitleLineLength && lines.at(i).at(kTitleLineLength).isLowSurrogate())
            cut.chop(1); // a character that does not fit whole is left out whole
        require(read.lines.at(i) == cut);
    }
    return 0;
}
