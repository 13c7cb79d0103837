#include "setup/operations/ini_layout.h"

#include "core/quoted_value.h"

#include <QHash>
#include <QRegularExpression>
#include <QStringDecoder>

namespace {

const QString kJoinsNextLine = QStringLiteral("ends in a backslash, which would join the next line to it");

// True when `text` ends in a backslash that escapes nothing but the line's end.
bool joinsNextLine(const QString& text)
{
    qsizetype backslashes = 0;
    while (backslashes < text.size() && text.at(text.size() - 1 - backslashes) == u'\\')
        ++backslashes;
    return backslashes % 2 == 1;
}

// Why QSettings would read a value on into the next line: a double quote left open, or a backslash
// that escapes the line's end. A backslash escapes the character after it, in quotes or not; a ";"
// outside quotes begins a comment.
QString valueProblem(const QString& value)
{
    bool quoted = false;
    for (qsizetype i = 0; i < value.size(); ++i) {
        const QChar c = value.at(i);
        if (c == u'\\') {
            if (++i == value.size())
                return kJoinsNextLine;
        } else if (c == u'"') {
            quoted = !quoted;
        } else if (c == u';' && !quoted) {
            return {};
        }
    }
    return quoted ? QStringLiteral("a double quote is left open") : QString();
}

// `text` without the blanks and tabs at either end: the only ones QSettings passes over before a
// section's "[" (it reads "\v[demo]" as no section at all).
QString trimmedOfBlanks(const QString& text)
{
    qsizetype start = 0, end = text.size();
    while (start < end && (text.at(start) == u' ' || text.at(start) == u'\t'))
        ++start;
    while (end > start && (text.at(end - 1) == u' ' || text.at(end - 1) == u'\t'))
        --end;
    return text.mid(start, end - start);
}

// Follows the text line by line: the sections seen, and the keys of the one being read.
class LayoutScan
{
public:
    explicit LayoutScan(const IniLayout& layout) : layout_(layout) {}

    IniLayoutProblem take(int number, const QString& text)
    {
        const QString line = trimmedOfBlanks(text);
        if (line.isEmpty() || line.startsWith(QLatin1Char(';')))
            return {};
        if (line.startsWith(QLatin1Char('[')))
            return joinsNextLine(text) ? IniLayoutProblem{number, kJoinsNextLine} : section(number, line);
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        if (equals < 0)
            return {number, QStringLiteral("neither [section] nor key=value: %1").arg(quotedValue(line))};
        if (const QString why = valueProblem(text.mid(text.indexOf(QLatin1Char('=')) + 1)); !why.isEmpty())
            return {number, why};
        return key(number, trimmedOfBlanks(line.left(equals)));
    }

    IniLayoutProblem end() const
    {
        if (sectionLines_.isEmpty()) {
            QStringList names;
            for (const auto& [name, keys] : layout_)
                names << QLatin1Char('[') + name + QLatin1Char(']');
            return {0, QStringLiteral("holds none of the sections %1 or %2")
                           .arg(names.mid(0, names.size() - 1).join(QLatin1String(", ")), names.last())};
        }
        return emptySection();
    }

private:
    const IniLayout& layout_;
    QHash<QString, int> sectionLines_; // each section seen, and its line
    QString section_;                  // the section being read
    QHash<QString, int> keyLines_;     // its keys so far, and their lines

    const QStringList* keysOf(const QString& section) const
    {
        for (const auto& [name, keys] : layout_)
            if (name == section)
                return &keys;
        return nullptr;
    }

    IniLayoutProblem emptySection() const
    {
        if (!section_.isEmpty() && keyLines_.isEmpty())
            return {sectionLines_.value(section_), QStringLiteral("the section [%1] is empty").arg(section_)};
        return {};
    }

    IniLayoutProblem section(int number, const QString& line)
    {
        const qsizetype close = line.indexOf(QLatin1Char(']'));
        const QString after = close < 0 ? QString() : trimmedOfBlanks(line.mid(close + 1));
        if (close < 0 || !(after.isEmpty() || after.startsWith(QLatin1Char(';'))))
            return {number, QStringLiteral("neither [section] nor key=value: %1").arg(quotedValue(line))};
        QString name = line.mid(1, close - 1);
        if (name.compare(QLatin1String("general"), Qt::CaseInsensitive) == 0)
            name = QStringLiteral("general");
        if (!keysOf(name))
            return {number, QStringLiteral("unknown section %1").arg(quotedValue(line.left(close + 1)))};
        if (sectionLines_.contains(name))
            return {number, QStringLiteral("a second [%1] section (the first is on line %2)")
                                .arg(name)
                                .arg(sectionLines_.value(name))};
        if (const IniLayoutProblem empty = emptySection(); empty.found())
            return empty;
        sectionLines_.insert(name, number);
        section_ = name;
        keyLines_.clear();
        return {};
    }

    IniLayoutProblem key(int number, const QString& name)
    {
        if (section_.isEmpty())
            return {number, QStringLiteral("key=value before the first [section]")};
        if (!keysOf(section_)->contains(name))
            return {number, QStringLiteral("[%1] has no key %2").arg(section_, quotedValue(name))};
        if (keyLines_.contains(name))
            return {number, QStringLiteral("[%1] %2 again (the first is on line %3)")
                                .arg(section_, name)
                                .arg(keyLines_.value(name))};
        keyLines_.insert(name, number);
        return {};
    }
};

} // namespace

IniLayoutProblem iniLayoutProblem(const QByteArray& text, const IniLayout& layout)
{
    // The decoder skips one leading byte-order mark, as QSettings does; a second one stays, and so
    // does the line it starts, which QSettings reads as no section.
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString decoded = decoder.decode(text);
    if (decoder.hasError() || text.contains('\0'))
        return {0, QStringLiteral("is not UTF-8 text")};
    static const QRegularExpression kLineEnd(QStringLiteral("\r\n|\r|\n"));
    const QStringList lines = decoded.split(kLineEnd);
    LayoutScan scan(layout);
    for (qsizetype i = 0; i < lines.size(); ++i)
        if (const IniLayoutProblem problem = scan.take(int(i + 1), lines.at(i)); problem.found())
            return problem;
    return scan.end();
}
