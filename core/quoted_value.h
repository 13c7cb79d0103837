#pragma once

#include <QChar>
#include <QString>

// The most characters of a value that a message quotes back.
constexpr int kQuotedValueLength = 40;

// A value a person gave (an option, a profile's value, a port name), as a message quotes it back:
// between two `mark`s, at most its first kQuotedValueLength characters and "…" when there were more,
// each character that prints nothing, breaks the line or is a space other than the plain one written as
// its code point between angle brackets (<U+000A>, <U+0001>, <U+200B>, <U+00A0>), so that a message
// stays one short line whatever came in: a 2 MB line, a binary file's bytes. A null `mark` quotes
// without marks (an option's name).
QString quotedValue(const QString& value, QChar mark = u'\'');

// A character as every message names it: "U+", then at least four upper-case hex digits ("U+20AC",
// "U+1F600").
QString codePointName(char32_t code);
