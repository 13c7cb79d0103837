#include "setup/operations/title_file.h"

#include "setup/operations/input_file.h"
#include "setup/operations/title_page.h"

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>
#include <optional>

namespace {

// The text of the file's beginning, in UTF-8 or else in the wire encoding; empty when it cannot be
// read or is not text, with `refusal` set when it holds no NUL but decodes in neither.
std::optional<QString> readText(const QString& path, const WireEncoding& encoding, Refusal& refusal)
{
    if (const std::optional<Refusal> irregular = refuseUnlessRegularFile(path)) {
        refusal = *irregular;
        return std::nullopt;
    }
    QFile file(path);
    if (file.size() > kTitleFileLimit) {
        refusal = {Refusal::TitleFileTooLarge, file.size()};
        return std::nullopt;
    }
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray bytes = file.read(kTitleFileLimit);
    if (bytes.contains('\0'))
        return std::nullopt;
    // Stateful when the read limit cut the file, so that a character cut there is not taken for
    // broken text; a file read whole that ends inside a character is broken text.
    QStringDecoder decoder(QStringDecoder::Utf8,
                           file.atEnd() ? QStringDecoder::Flag::Stateless : QStringDecoder::Flag::Default);
    QString text = decoder.decode(bytes);
    if (decoder.hasError()) {
        // A file saved in the system's own code page, as Windows editors do.
        const std::optional<QString> local = encoding.decode(bytes);
        if (!local) {
            refusal = {Refusal::TitleFileNotText, 0, QFileInfo(path).fileName(), encoding.name()};
            return std::nullopt;
        }
        return local;
    }
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    return text;
}

} // namespace

TitleFileLines readTitleFile(const QString& path, const WireEncoding& encoding)
{
    TitleFileLines result;
    const std::optional<QString> text = readText(path, encoding, result.refusal);
    if (!text)
        return result;
    // A line exists when some text is left where it begins: "a\n" holds one line, "a\n\n" two.
    qsizetype position = 0;
    while (result.lines.size() < 2 && position < text->size()) {
        qsizetype end = position;
        while (end < text->size() && text->at(end) != u'\r' && text->at(end) != u'\n')
            ++end;
        QString line = text->mid(position, end - position);
        if (line.size() > kTitleLineLength) {
            // A character outside the BMP that does not fit whole is left out whole, not halved.
            const bool splitsPair = line.at(kTitleLineLength).isLowSurrogate();
            line.truncate(splitsPair ? kTitleLineLength - 1 : kTitleLineLength);
        }
        result.lines << line;
        position = end;
        if (position < text->size()) {
            const bool crlf =
                text->at(position) == u'\r' && position + 1 < text->size() && text->at(position + 1) == u'\n';
            position += crlf ? 2 : 1;
        }
    }
    return result;
}
