#pragma once

#include "core/wire_text.h"

#include <QString>
#include <QStringList>
#include <optional>

// What one profile file sets up on a display, in the words of vfdctl's single commands: an INI file
// with the sections [firmware], [general], [title], [demo] and [balance], applied in that order, a
// section left out skipped. Paths in it are relative to the profile's folder; here they are absolute.
struct ProvisioningProfile
{
    // [general]: the six choices of the General page by name, in its order (display-baud,
    // display-format, command-set, code-page, charset, brightness); a key left out is its default.
    std::optional<QStringList> general;
    // [title]: line1 and line2, or the first two lines of file.
    std::optional<QStringList> titleLines;
    QString titleFile;
    // [demo] file.
    QString demoFile;
    // [firmware] file and force.
    QString firmwareFile;
    bool forceFirmware = false;
    // [balance] value (0..255, sent live) and store (the display keeps the balance it uses).
    std::optional<int> balance;
    bool storeBalance = false;

    friend bool operator==(const ProvisioningProfile&, const ProvisioningProfile&) = default;
};

// The keys of [general], in the General page's order.
const QStringList& generalProfileKeys();

struct ProfileReading
{
    std::optional<ProvisioningProfile> profile; // absent when the file was refused
    QString error;                              // why, for the person
    WireEncoding encoding = {};                 // what its text was checked in and goes out in
};

// Whose choice the run's text encoding is: the person's (vfdctl --encoding, the window's list), which
// holds, or the default, which gives way to the encoding a profile's code page implies.
enum class EncodingChoice { Named, Default };

// Reads and checks a profile: a file that cannot be read or is not a profile's INI text (see
// operations/ini_layout.h), a value a list does not offer (matched as every typed name is), a title
// line the display cannot show in `encoding` (the run's), a section without what it needs, all refuse
// the whole profile; a refusal quotes a value at most in part. The files it names are not opened here.
// With EncodingChoice::Default, a [general] code-page that has an encoding of its own (PC850: IBM850,
// Russian: IBM866, ...) sets the profile's encoding, as picking the code page does in the window: the
// same profile then sends the same bytes from either program.
ProfileReading readProvisioningProfile(const QString& path, const WireEncoding& encoding,
                                       EncodingChoice choice = EncodingChoice::Named);

// Writes the profile, its paths relative to the profile's folder where they lie below it; false
// when the file could not be written.
bool writeProvisioningProfile(const QString& path, const ProvisioningProfile& profile);
