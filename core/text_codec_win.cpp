#include "core/text_codec.h"

#include <QRegularExpression>
#include <QStringDecoder>
#include <QStringEncoder>

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

namespace {

// The system code page a name stands for: "windows-1251" 1251, "IBM866" 866, "IBM00858" 858, the
// double-byte ones by their usual names.
std::optional<UINT> codePageOf(const QByteArray& name)
{
    static const QRegularExpression kNumbered(QStringLiteral("^(?:windows-|IBM|cp)0*([0-9]{3,5})$"),
                                              QRegularExpression::CaseInsensitiveOption);
    static const QList<QPair<QByteArray, UINT>> kNamed = {
        {"shift_jis", 932}, {"gbk", 936}, {"euc-kr", 949}, {"big5", 950}};
    UINT page = 0;
    if (const QRegularExpressionMatch match = kNumbered.match(QString::fromLatin1(name)); match.hasMatch())
        page = match.captured(1).toUInt();
    for (const auto& [known, number] : kNamed)
        if (name.toLower() == known)
            page = number;
    if (page == 0 || page == CP_UTF7 || page == CP_UTF8 || !::IsValidCodePage(page))
        return std::nullopt;
    return page;
}

bool qtKnows(const QByteArray& name)
{
    return !name.isEmpty() && QStringEncoder(name.constData(), QStringConverter::Flag::Stateless).isValid();
}

} // namespace

bool TextCodec::isKnown(const QByteArray& name)
{
    return qtKnows(name) || codePageOf(name).has_value();
}

std::optional<QByteArray> TextCodec::encode(const QByteArray& name, const QString& text)
{
    if (qtKnows(name)) {
        QStringEncoder encoder(name.constData(), QStringConverter::Flag::Stateless);
        QByteArray bytes = encoder.encode(text);
        return encoder.hasError() ? std::nullopt : std::optional<QByteArray>(bytes);
    }
    const std::optional<UINT> page = codePageOf(name);
    if (!page)
        return std::nullopt;
    if (text.isEmpty())
        return QByteArray();
    const auto* wide = reinterpret_cast<const wchar_t*>(text.utf16());
    const int length = static_cast<int>(text.size());
    // No best fit: a character without its own byte is refused, never sent as a look-alike.
    BOOL substituted = FALSE;
    const int size =
        ::WideCharToMultiByte(*page, WC_NO_BEST_FIT_CHARS, wide, length, nullptr, 0, nullptr, nullptr);
    if (size <= 0)
        return std::nullopt;
    QByteArray bytes(size, Qt::Uninitialized);
    ::WideCharToMultiByte(*page, WC_NO_BEST_FIT_CHARS, wide, length, bytes.data(), size, nullptr,
                          &substituted);
    if (substituted)
        return std::nullopt;
    return bytes;
}

std::optional<QString> TextCodec::decode(const QByteArray& name, const QByteArray& bytes)
{
    if (qtKnows(name)) {
        QStringDecoder decoder(name.constData(), QStringConverter::Flag::Stateless);
        QString text = decoder.decode(bytes);
        if (decoder.hasError())
            return std::nullopt;
        return text;
    }
    const std::optional<UINT> page = codePageOf(name);
    if (!page)
        return std::nullopt;
    if (bytes.isEmpty())
        return QString();
    const int length = static_cast<int>(bytes.size());
    const int size =
        ::MultiByteToWideChar(*page, MB_ERR_INVALID_CHARS, bytes.constData(), length, nullptr, 0);
    if (size <= 0)
        return std::nullopt;
    QString text(size, Qt::Uninitialized);
    ::MultiByteToWideChar(*page, MB_ERR_INVALID_CHARS, bytes.constData(), length,
                          reinterpret_cast<wchar_t*>(text.data()), size);
    return text;
}
