#include "setup/operations/provisioning_profile.h"

#include "core/offered_name.h"
#include "core/quoted_value.h"
#include "setup/operations/factory_adjustment.h"
#include "setup/operations/general_parameters.h"
#include "setup/operations/ini_layout.h"
#include "setup/operations/input_file.h"
#include "setup/operations/parameter_vocabulary.h"
#include "setup/operations/title_page.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>

namespace {

// Far more than any profile needs: a file chosen by mistake is not read whole.
constexpr qint64 kProfileSizeLimit = 4 << 20;

// The sections of a profile in the order a message names them, and their keys.
const IniLayout& profileLayout()
{
    static const IniLayout kLayout = {
        {QStringLiteral("firmware"), {QStringLiteral("file"), QStringLiteral("force")}},
        {QStringLiteral("general"), generalProfileKeys()},
        {QStringLiteral("title"), {QStringLiteral("line1"), QStringLiteral("line2"), QStringLiteral("file")}},
        {QStringLiteral("demo"), {QStringLiteral("file")}},
        {QStringLiteral("balance"), {QStringLiteral("value"), QStringLiteral("store")}},
    };
    return kLayout;
}

QString sectionKey(const QString& key)
{
    return key.contains(QLatin1Char('/')) ? QStringLiteral("[%1] %2").arg(key.section(QLatin1Char('/'), 0, 0),
                                                                          key.section(QLatin1Char('/'), 1))
                                          : QStringLiteral("[general] ") + key;
}

// A value as written: QSettings reads an unquoted "N,8,1" as a list, which is joined again.
QString text(const QSettings& ini, const QString& key)
{
    const QVariant value = ini.value(key);
    return value.typeId() == QMetaType::QStringList ? value.toStringList().join(QLatin1Char(','))
                                                    : value.toString();
}

// Reads the values of a profile's INI text and keeps the first refusal.
struct ProfileReader
{
    ProfileReader(const QString& path, WireEncoding encoding)
        : ini(path, QSettings::IniFormat), folder(QFileInfo(path).absoluteDir()), encoding(encoding)
    {
    }

    QSettings ini;
    QDir folder;
    WireEncoding encoding; // what the title lines must be shown in
    QString error;

    bool has(const QString& key) const { return ini.contains(key); }
    bool hasSection(const QString& section) const { return ini.childGroups().contains(section); }
    QString value(const QString& key) const { return text(ini, key); }

    bool refuse(const QString& key, const QString& why)
    {
        error = sectionKey(key) + QStringLiteral(": ") + why;
        return false;
    }
    bool flag(const QString& key, bool* result)
    {
        const QString word = value(key);
        const std::optional<QString> named =
            offeredName({QStringLiteral("true"), QStringLiteral("false")}, word);
        if (!named)
            return refuse(key, QStringLiteral("takes true or false, not %1").arg(quotedValue(word)));
        *result = *named == QLatin1String("true");
        return true;
    }
    bool file(const QString& key, QString* result)
    {
        const QString name = value(key);
        if (name.isEmpty())
            return refuse(key, QStringLiteral("names no file"));
        *result = QDir::cleanPath(folder.absoluteFilePath(name));
        return true;
    }
};

bool readGeneral(ProfileReader& reader, ProvisioningProfile& profile)
{
    const QStringList keys = generalProfileKeys();
    QStringList names;
    bool any = false;
    for (int i = 0; i < keys.size(); ++i) {
        const GeneralSetting& setting = generalSettings()[i];
        QString name = QString::fromLatin1(setting.defaultName);
        if (reader.has(keys[i])) {
            any = true;
            const QString typed = reader.value(keys[i]);
            const std::optional<QString> named = setting.itemNamed(typed);
            if (!named)
                return reader.refuse(keys[i],
                                     QStringLiteral("takes one of %1, not %2")
                                         .arg(setting.items().join(QLatin1String(", ")), quotedValue(typed)));
            name = *named;
        }
        names << name;
    }
    if (any)
        profile.general = names;
    return true;
}

bool readTitle(ProfileReader& reader, ProvisioningProfile& profile)
{
    const bool lines = reader.has(QStringLiteral("title/line1")) || reader.has(QStringLiteral("title/line2"));
    if (reader.has(QStringLiteral("title/file"))) {
        if (lines)
            return reader.refuse(QStringLiteral("title/file"),
                                 QStringLiteral("takes the place of line1 and line2"));
        return reader.file(QStringLiteral("title/file"), &profile.titleFile);
    }
    if (!lines)
        return !reader.hasSection(QStringLiteral("title")) ||
               reader.refuse(QStringLiteral("title/line1"), QStringLiteral("give line1 and line2, or file"));
    const QStringList titleLines{reader.value(QStringLiteral("title/line1")),
                                 reader.value(QStringLiteral("title/line2"))};
    for (int i = 0; i < 2; ++i) {
        const QString key = QStringLiteral("title/line%1").arg(i + 1);
        if (titleLines[i].size() > kTitleLineLength)
            return reader.refuse(key, QStringLiteral("holds at most %1 characters").arg(kTitleLineLength));
        if (const WireBytes bytes = reader.encoding.encodeLine(titleLines[i], kTitleLineLength); !bytes)
            return reader.refuse(key, bytes.refusal);
    }
    profile.titleLines = titleLines;
    return true;
}

bool readBalance(ProfileReader& reader, ProvisioningProfile& profile)
{
    if (reader.has(QStringLiteral("balance/value"))) {
        bool number = false;
        const int value = reader.value(QStringLiteral("balance/value")).toInt(&number);
        if (!number || value < kBalanceMinimum || value > kBalanceMaximum)
            return reader.refuse(QStringLiteral("balance/value"),
                                 QStringLiteral("takes a number from 0 to 255"));
        profile.balance = value;
    }
    return !reader.has(QStringLiteral("balance/store")) ||
           reader.flag(QStringLiteral("balance/store"), &profile.storeBalance);
}

bool readFiles(ProfileReader& reader, ProvisioningProfile& profile)
{
    if (reader.hasSection(QStringLiteral("demo")) &&
        !reader.file(QStringLiteral("demo/file"), &profile.demoFile))
        return false;
    if (!reader.hasSection(QStringLiteral("firmware")))
        return true;
    if (!reader.file(QStringLiteral("firmware/file"), &profile.firmwareFile))
        return false;
    return !reader.has(QStringLiteral("firmware/force")) ||
           reader.flag(QStringLiteral("firmware/force"), &profile.forceFirmware);
}

// QSettings writes its top-level keys under "[General]"; the profile's own word is "[general]" (which
// QSettings reads the same way).
bool nameGeneralSectionAsRead(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadWrite))
        return false;
    if (file.peek(9) != "[General]")
        return true;
    return file.write("[general]") == 9;
}

// The encoding that writes the characters of the code page named `name`, when it has one.
std::optional<WireEncoding> codePageOwnEncoding(const QString& name)
{
    const GeneralSetting& codePage = generalSettings()[3];
    return WireEncoding::fromName(QString::fromLatin1(codePageEncoding(codePage.codeOf(name))));
}

} // namespace

const QStringList& generalProfileKeys()
{
    static const QStringList kKeys = {QStringLiteral("display-baud"), QStringLiteral("display-format"),
                                      QStringLiteral("command-set"),  QStringLiteral("code-page"),
                                      QStringLiteral("charset"),      QStringLiteral("brightness")};
    return kKeys;
}

ProfileReading readProvisioningProfile(const QString& path, const WireEncoding& encoding,
                                       EncodingChoice choice)
{
    const QFileInfo info(path);
    QFile file(path);
    // A FIFO or a device is never opened: the read could wait for ever.
    if (const std::optional<Refusal> irregular = refuseUnlessRegularFile(path))
        return {std::nullopt, QStringLiteral("cannot read the profile %1 (%2)").arg(path, irregular->reason)};
    if (!file.open(QIODevice::ReadOnly))
        return {std::nullopt,
                QStringLiteral("cannot read the profile %1 (%2)").arg(path, file.errorString())};
    if (info.size() > kProfileSizeLimit)
        return {std::nullopt, QStringLiteral("%1 is larger than a profile can be (4 MB)").arg(path)};
    if (const IniLayoutProblem problem = iniLayoutProblem(file.readAll(), profileLayout()); problem.found())
        return {std::nullopt, problem.line == 0
                                  ? path + QLatin1Char(' ') + problem.why
                                  : QStringLiteral("line %1: %2").arg(problem.line).arg(problem.why)};
    ProfileReader reader(path, encoding);
    ProvisioningProfile profile;
    if (!readGeneral(reader, profile))
        return {std::nullopt, reader.error, encoding};
    if (choice == EncodingChoice::Default && profile.general)
        reader.encoding = codePageOwnEncoding(profile.general->at(3)).value_or(encoding);
    if (!readTitle(reader, profile) || !readBalance(reader, profile) || !readFiles(reader, profile))
        return {std::nullopt, reader.error, reader.encoding};
    return {profile, {}, reader.encoding};
}

bool writeProvisioningProfile(const QString& path, const ProvisioningProfile& profile)
{
    QSettings ini(path, QSettings::IniFormat);
    ini.clear(); // nothing but what the profile holds
    const QDir folder = QFileInfo(path).absoluteDir();
    const auto relative = [&](const QString& file) {
        const QString inside = folder.relativeFilePath(file);
        return inside.startsWith(QLatin1String("..")) ? file : inside;
    };
    if (profile.general)
        for (int i = 0; i < generalProfileKeys().size(); ++i)
            ini.setValue(generalProfileKeys()[i], profile.general->value(i));
    if (profile.titleLines) {
        ini.setValue(QStringLiteral("title/line1"), profile.titleLines->value(0));
        ini.setValue(QStringLiteral("title/line2"), profile.titleLines->value(1));
    } else if (!profile.titleFile.isEmpty()) {
        ini.setValue(QStringLiteral("title/file"), relative(profile.titleFile));
    }
    if (!profile.demoFile.isEmpty())
        ini.setValue(QStringLiteral("demo/file"), relative(profile.demoFile));
    if (!profile.firmwareFile.isEmpty()) {
        ini.setValue(QStringLiteral("firmware/file"), relative(profile.firmwareFile));
        if (profile.forceFirmware)
            ini.setValue(QStringLiteral("firmware/force"), true);
    }
    if (profile.balance)
        ini.setValue(QStringLiteral("balance/value"), *profile.balance);
    if (profile.storeBalance)
        ini.setValue(QStringLiteral("balance/store"), true);
    ini.sync();
    if (ini.status() != QSettings::NoError)
        return false;
    return nameGeneralSectionAsRead(path);
}
