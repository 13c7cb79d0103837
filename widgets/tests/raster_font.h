#pragma once

#include <QFont>
#include <QFontInfo>
#include <QFontMetrics>

// The characters without hand-set dots are drawn from DejaVu Sans Mono, and their dots in the tests are
// that face's. A system without the face (Windows, whose tests run offscreen under Wine) draws them
// from another face or not at all: the tests of those dots are skipped there.
inline bool rasterFontDraws(char32_t character)
{
    const QFont face(QStringLiteral("DejaVu Sans Mono"));
    return QFontInfo(face).family() == face.family() && QFontMetrics(face).inFontUcs4(character);
}
