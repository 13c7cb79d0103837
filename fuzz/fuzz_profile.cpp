// The profile reader on any file content. A refusal is one short printable line; what it accepts
// holds only names the lists offer (as they spell them), title lines the display can show in the
// run's encoding, balances 0..255 and files named in full; and it reads back the same once written
// again, as the window's File → Save profile… writes it.
#include "core/wire_text.h"
#include "fuzz/fuzz_files.h"
#include "fuzz/fuzz_require.h"
#include "fuzz/fuzz_text.h"
#include "setup/operations/general_parameters.h"
#include "setup/operations/provisioning_profile.h"
#include "setup/operations/title_page.h"

#include <QDir>

namespace {

void requireSound(const ProvisioningProfile& profile, const WireEncoding& encoding)
{
    if (profile.general) {
        require(profile.general->size() == qsizetype(generalSettings().size()));
        for (std::size_t i = 0; i < generalSettings().size(); ++i)
            require(generalSettings()[i].items().contains(profile.general->at(qsizetype(i))));
    }
    if (profile.titleLines) {
        require(profile.titleLines->size() == 2 && profile.titleFile.isEmpty());
        require(bool(checkTitleLines(profile.titleLines->at(0), profile.titleLines->at(1), encoding)));
    }
    for (const QString& file : {profile.titleFile, profile.demoFile, profile.firmwareFile})
        require(file.isEmpty() || (QDir::isAbsolutePath(file) && QDir::cleanPath(file) == file));
    require(!profile.balance || (*profile.balance >= 0 && *profile.balance <= 255));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const WireEncoding kEncoding;
    const QByteArray content(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const ProfileReading reading =
        readProvisioningProfile(writeFuzzFile(QStringLiteral("p.ini"), content), kEncoding);
    if (!reading.profile) {
        // Short: a refusal quotes a value only in part.
        require(!reading.error.isEmpty() && reading.error.size() < 800 && printableLine(reading.error));
        return 0;
    }
    require(reading.error.isEmpty());
    requireSound(*reading.profile, kEncoding);

    const QString again = fuzzFolder().filePath(QStringLiteral("again.ini"));
    QFile::remove(again);
    require(writeProvisioningProfile(again, *reading.profile));
    const ProfileReading reread = readProvisioningProfile(again, kEncoding);
    require(reread.profile == reading.profile);
    return 0;
}
