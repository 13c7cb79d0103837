#include "core/text_codec.h"

#include <QList>
#include <QStringDecoder>
#include <QStringEncoder>
#include <algorithm>
#include <cstring>

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

namespace {

// A system code page, and whether it stands in for IBM00858 (code page 850 with the euro sign at 0xD5,
// where 850 has the dotless i): a system without 858 of its own (Wine, for one) still has 850.
struct SystemPage
{
    UINT page = 0;
    bool euroForDotlessI = false;
};

// The system code page a name stands for: "windows-1251" 1251, "IBM866" 866, "IBM00858" 858, the
// double-byte ones by their usual names.
std::optional<SystemPage> codePageOf(const QByteArray& name)
{
    // "windows-1251", "IBM866", "cp0850": a prefix, then at least three digits. Read without a regular
    // expression, for it runs on the port's worker thread (see core/port_name.cpp).
    UINT page = 0;
    const QByteArray lower = name.toLower();
    for (const char* prefix : {"windows-", "ibm", "cp"}) {
        if (!lower.startsWith(prefix))
            continue;
        const QByteArray digits = lower.mid(static_cast<qsizetype>(std::strlen(prefix)));
        const bool allDigits =
            std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; });
        const UINT number = digits.toUInt();
        if (digits.size() >= 3 && allDigits && number <= 99999)
            page = number;
    }
    static const QList<QPair<QByteArray, UINT>> kNamed = {
        {"shift_jis", 932}, {"gbk", 936}, {"euc-kr", 949}, {"big5", 950}};
    for (const auto& [known, number] : kNamed)
        if (lower == known)
            page = number;
    if (page == 858 && !::IsValidCodePage(858) && ::IsValidCodePage(850))
        return SystemPage{850, true};
    if (page == 0 || page == CP_UTF7 || page == CP_UTF8 || !::IsValidCodePage(page))
        return std::nullopt;
    return SystemPage{page, false};
}

constexpr char16_t kEuro = u'\u20AC';
constexpr char16_t kDotlessI = u'\u0131';

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
    const std::optional<SystemPage> system = codePageOf(name);
    if (!system)
        return std::nullopt;
    if (text.isEmpty())
        return QByteArray();
    const UINT page = system->page;
    QString own = text;
    if (system->euroForDotlessI) {
        if (own.contains(QChar(kDotlessI)))
            return std::nullopt;
        own.replace(QChar(kEuro), QChar(kDotlessI));
    }
    const auto* wide = reinterpret_cast<const wchar_t*>(own.utf16());
    const int length = static_cast<int>(own.size());
    // No best fit: a character without its own byte is refused, never sent as a look-alike.
    BOOL substituted = FALSE;
    const int size =
        ::WideCharToMultiByte(page, WC_NO_BEST_FIT_CHARS, wide, length, nullptr, 0, nullptr, nullptr);
    if (size <= 0)
        return std::nullopt;
    QByteArray bytes(size, Qt::Uninitialized);
    ::WideCharToMultiByte(page, WC_NO_BEST_FIT_CHARS, wide, length, bytes.data(), size, nullptr,
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
    const std::optional<SystemPage> system = codePageOf(name);
    if (!system)
        return std::nullopt;
    if (bytes.isEmpty())
        return QString();
    const UINT page = system->page;
    const int length = static_cast<int>(bytes.size());
    const int size = ::MultiByteToWideChar(page, MB_ERR_INVALID_CHARS, bytes.constData(), length, nullptr, 0);
    if (size <= 0)
        return std::nullopt;
    QString text(size, Qt::Uninitialized);
    ::MultiByteToWideChar(page, MB_ERR_INVALID_CHARS, bytes.constData(), length,
                          reinterpret_cast<wchar_t*>(text.data()), size);
    if (system->euroForDotlessI)
        text.replace(QChar(kDotlessI), QChar(kEuro));
    return text;
}
