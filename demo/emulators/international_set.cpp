#include "demo/emulators/international_set.h"

#include <array>

namespace {

constexpr std::array<unsigned char, 12> kCodePoints = {0x23, 0x24, 0x40, 0x5B, 0x5C, 0x5D,
                                                       0x5E, 0x60, 0x7B, 0x7C, 0x7D, 0x7E};

struct InternationalSet
{
    const char* name;
    const char32_t* characters; // twelve, in the order of kCodePoints
};

// Sets 0 to 10 follow the national 7-bit variants the ESC/POS displays share. 11 and 12 are the maker's
// own: the Slavic set takes the Yugoslav 7-bit letters, the Russian one the Cyrillic letters of the
// KOI-7 variants, capital after the at sign and small after the grave accent.
const std::array<InternationalSet, kInternationalSetCount> kSets = {{
    {"U.S.A", U"#$@[\\]^`{|}~"},
    {"FRANCE", U"#$à°ç§^`éùè¨"},
    {"GERMANY", U"#$§ÄÖÜ^`äöüß"},
    {"U.K", U"£$@[\\]^`{|}~"},
    {"DENMARK I", U"#$@ÆØÅ^`æøå~"},
    {"SWEDEN", U"#¤ÉÄÖÅÜéäöåü"},
    {"ITALY", U"#$@°\\é^ùàòèì"},
    {"SPAIN", U"₧$@¡Ñ¿^`¨ñ}~"},
    {"JAPAN", U"#$@[¥]^`{|}~"},
    {"NORWAY", U"#¤ÉÆØÅÜéæøåü"},
    {"DENMARK II", U"#$ÉÆØÅÜéæøåü"},
    {"SLAWIE", U"#$ŽŠĐĆČžšđćč"},
    {"RUSSIA", U"№$ЮШЭЩЧюшэщч"},
}};

} // namespace

QString internationalSetName(int number)
{
    return number >= 0 && number < kInternationalSetCount ? QString::fromLatin1(kSets[number].name)
                                                          : QString();
}

char32_t internationalCharacter(int number, unsigned char byte)
{
    if (number < 0 || number >= kInternationalSetCount) {
        return byte;
    }
    for (std::size_t i = 0; i < kCodePoints.size(); ++i) {
        if (kCodePoints[i] == byte) {
            return kSets[number].characters[i];
        }
    }
    return byte;
}
