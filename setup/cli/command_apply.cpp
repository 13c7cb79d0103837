#include "setup/cli/applied_records.h"
#include "setup/cli/cli_command.h"
#include "setup/cli/named_file_check.h"
#include "setup/cli/outcome_report.h"
#include "setup/cli/port_run.h"
#include "setup/cli/too_late_retry.h"
#include "setup/operations/demo_file.h"
#include "setup/operations/demo_transfer.h"
#include "setup/operations/factory_adjustment.h"
#include "setup/operations/firmware_file.h"
#include "setup/operations/general_record.h"
#include "setup/operations/profile_digest.h"
#include "setup/operations/provisioning_profile.h"
#include "setup/operations/title_file.h"
#include "setup/operations/title_page.h"
#include "setup/protocol/display_access.h"
#include "setup/protocol/display_session.h"

#include <QDateTime>

namespace {

// Between two steps the display restarts; the next step opens the port after this pause.
constexpr int kRestartPauseMs = 2000;

struct ApplyStep
{
    QString name;
    CliJob job;
};

QList<ApplyStep> applySteps(const ProvisioningProfile& profile, const QByteArray& firmwareImage,
                            const QStringList& titleLines)
{
    QList<ApplyStep> steps;
    if (!profile.firmwareFile.isEmpty())
        steps.append({QStringLiteral("firmware"),
                      firmwareJob(firmwareImage, profile.forceFirmware,
                                  QStringLiteral("with force=true in the profile's [firmware] section"))});
    if (profile.general) {
        const QStringList names = *profile.general;
        steps.append({QStringLiteral("general"), [names](PortRun& run) {
                          const int status = reportOutcome(
                              run, writeGeneralParameters(run.access, generalParametersNamed(names)));
                          // The display restarts at its new line settings: the next steps reach it there.
                          run.access.selection.setLine(names.at(0), names.at(1));
                          return status;
                      }});
    }
    if (!titleLines.isEmpty())
        steps.append({QStringLiteral("title"), [titleLines](PortRun& run) {
                          return reportOutcome(
                              run, writeTitlePage(run.access, titleLines.at(0), titleLines.at(1)));
                      }});
    if (!profile.demoFile.isEmpty())
        steps.append({QStringLiteral("demo"), [path = profile.demoFile](PortRun& run) {
                          return writeDemoFile(run, path, QStringLiteral("[demo] file"));
                      }});
    if (profile.balance || profile.storeBalance)
        steps.append({QStringLiteral("balance"), [profile](PortRun& run) {
                          if (profile.balance) {
                              const int status =
                                  reportOutcome(run, sendBalance(run.access, *profile.balance));
                              if (status != CliExit::Ok || !profile.storeBalance)
                                  return status;
                          }
                          return reportOutcome(run, storeBalance(run.access));
                      }});
    // Every step but the firmware can be sent again when the host was too late to tell the answer.
    for (ApplyStep& step : steps) {
        if (step.name != QLatin1String("firmware"))
            step.job = retriedWhenTooLate(step.job);
    }
    return steps;
}

// Every file a profile names is checked before anything is sent to any port; the title file's lines
// too. CliExit::Ok when all pass.
int checkProfileFiles(CliContext& context, const ProvisioningProfile& profile, const WireEncoding& encoding,
                      QByteArray& firmwareImage, QStringList& titleLines)
{
    for (const auto& [path, origin] :
         {std::pair{profile.firmwareFile, "[firmware] file"}, std::pair{profile.titleFile, "[title] file"},
          std::pair{profile.demoFile, "[demo] file"}})
        if (!path.isEmpty())
            if (const std::optional<int> refused =
                    refuseUnreadableNamedFile(context, path, QString::fromLatin1(origin)))
                return *refused;
    if (!profile.firmwareFile.isEmpty()) {
        const FirmwareFileCheck check = checkFirmwareFile(profile.firmwareFile);
        if (!check.valid())
            return reportRefusedFile(context, *check.refusal, profile.firmwareFile,
                                     QStringLiteral("[firmware] file"));
        firmwareImage = check.image;
    }
    if (!profile.titleFile.isEmpty()) {
        // As "title write --file" reads it.
        const TitleFileLines read = readTitleFile(profile.titleFile, encoding);
        if (!read.complete())
            return reportRefusedFile(context, read.refusal, profile.titleFile,
                                     QStringLiteral("[title] file"));
        if (const Outcome fits = checkTitleLines(read.lines.at(0), read.lines.at(1), encoding); !fits)
            return reportOutcome(context.dialogs, fits);
        titleLines = read.lines;
    }
    if (!profile.demoFile.isEmpty()) {
        if (const std::optional<Refusal> refusal = checkDemoFile(profile.demoFile))
            return reportRefusedFile(context, *refusal, profile.demoFile, QStringLiteral("[demo] file"));
    }
    return CliExit::Ok;
}

// How one run treats each port's record of what was applied to it.
struct ApplyMode
{
    bool changedOnly = false; // a port whose record matches is left alone
    bool force = false;       // the record is ignored
    bool check = false;       // each port is only reached, nothing is sent
    QByteArray digest;        // of the profile and its files (empty: never matches, never recorded)
    QString stateFolder;
    WireEncoding encoding; // what the profile's text goes out in
};

QString stepResult(int status)
{
    if (status == CliExit::Ok)
        return QStringLiteral("ok");
    return status == CliExit::Interrupted ? QStringLiteral("interrupted") : QStringLiteral("failed");
}

// The steps in order, the restart pause between two; the first that fails ends the apply.
int runSteps(PortRun& run, const QList<ApplyStep>& steps)
{
    QStringList done;
    for (qsizetype i = 0; i < steps.size(); ++i) {
        const ApplyStep& step = steps.at(i);
        if (!done.isEmpty())
            run.access.pacer.sleep(kRestartPauseMs);
        if (!run.target.quiet)
            run.out << "apply: " << step.name << Qt::endl;
        run.interruption =
            QStringLiteral("Interrupted in the %1 step%2: the display was not told to restart and may "
                           "hold it in part; apply the profile again")
                .arg(step.name, done.isEmpty()
                                    ? QString()
                                    : QStringLiteral(" (done: %1)").arg(done.join(QLatin1String(", "))));
        const int status = step.job(run);
        run.report.steps[i].result = stepResult(status);
        if (status != CliExit::Ok)
            return status;
        done << step.name;
    }
    return CliExit::Ok;
}

// --check: the port is opened, its DSR awaited and the port closed again; nothing is sent.
int checkPort(PortRun& run, bool unchanged)
{
    const Outcome reached = [&] {
        DisplaySession display(run.access);
        return display.outcome();
    }();
    if (!reached)
        return reportOutcome(run, reached);
    run.report.unchanged = unchanged;
    run.report.wouldApply = !unchanged;
    if (!run.target.quiet)
        run.out << "apply: " << (unchanged ? "unchanged" : "would apply") << Qt::endl;
    return CliExit::Ok;
}

CliJob applyJob(const QList<ApplyStep>& steps, const ApplyMode& mode)
{
    return [steps, mode](PortRun& run) -> int {
        for (const ApplyStep& step : steps)
            run.report.steps.append({step.name, QStringLiteral("not run")});
        const QString port = run.access.selection.port;
        const AppliedRecords records(mode.stateFolder);
        const bool matches = mode.changedOnly && !mode.force && !mode.digest.isEmpty() &&
                             records.digestFor(port) == mode.digest;
        if (mode.check)
            return checkPort(run, matches);
        if (matches) {
            run.report.unchanged = true;
            if (!run.target.quiet)
                run.out << "apply: unchanged (the profile and its files are those last applied)" << Qt::endl;
            return CliExit::Ok;
        }
        run.access.selection.encoding = mode.encoding;
        // While the display is being written what it holds is known from no record.
        const int status = runForgettingRecord(mode.stateFolder, run, [&] { return runSteps(run, steps); });
        if (status != CliExit::Ok || mode.digest.isEmpty())
            return status;
        if (const QString reason = records.record(port, mode.digest, QDateTime::currentDateTimeUtc());
            !reason.isEmpty())
            run.err << "vfdctl apply: could not record what was applied to " << port << ": " << reason
                    << Qt::endl;
        return status;
    };
}

CliPlan prepare(CliContext& context, const QStringList& args)
{
    ParsedArgs parsed;
    QString error;
    const QStringList flags{QStringLiteral("changed-only"), QStringLiteral("force"), QStringLiteral("check")};
    if (!parseArgs(args, {}, flags, &parsed, &error) || parsed.positional.size() != 1) {
        context.err << "vfdctl apply: " << (error.isEmpty() ? QStringLiteral("expected one PROFILE") : error)
                    << " (see vfdctl apply --help)" << Qt::endl;
        return CliPlan::done(CliExit::Usage);
    }
    const QString path = parsed.positional.first();
    // Said as every file that cannot be read is, but a usage error as every other fault of the profile.
    if (refuseUnreadableNamedFile(context, path, QStringLiteral("profile")))
        return CliPlan::done(CliExit::Usage);
    const ProfileReading reading = readProvisioningProfile(
        path, context.encoding, context.encodingNamed ? EncodingChoice::Named : EncodingChoice::Default);
    if (!reading.profile) {
        context.err << "vfdctl apply: " << reading.error << Qt::endl;
        return CliPlan::done(CliExit::Usage);
    }
    const ProvisioningProfile& profile = *reading.profile;
    QByteArray firmwareImage;
    QStringList titleLines = profile.titleLines.value_or(QStringList{});
    if (const int status = checkProfileFiles(context, profile, reading.encoding, firmwareImage, titleLines);
        status != CliExit::Ok)
        return CliPlan::done(status);
    const ApplyMode mode{parsed.options.contains(flags[0]),
                         parsed.options.contains(flags[1]),
                         parsed.options.contains(flags[2]),
                         profileDigest(path, profile, reading.encoding.name()),
                         context.stateFolder,
                         reading.encoding};
    return CliPlan::run(applyJob(applySteps(profile, firmwareImage, titleLines), mode));
}

} // namespace

CliCommand applyCommand()
{
    CliCommand command;
    command.name = QStringLiteral("apply");
    command.synopsis =
        QStringLiteral("apply PROFILE                  provision the display from a profile (INI file)\n"
                       "apply --changed-only|--check PROFILE   only where it changed; or only check");
    command.help = QStringLiteral(
        "Usage: vfdctl [global options] apply [--changed-only [--force]] [--check] PROFILE\n\n"
        "Provisions the display from PROFILE, an INI file with these sections and keys (the words of\n"
        "the single commands), applied in this order; a section left out is skipped:\n\n"
        "  [firmware]  file=F.wfu  force=true|false      as 'firmware F [--force]'\n"
        "  [general]   display-baud= display-format= command-set= code-page= charset= brightness=\n"
        "                                                as 'params write' (a key left out: its default)\n"
        "  [title]     line1= line2=, or file=F          as 'title write'\n"
        "  [demo]      file=F                            as 'demo write F'\n"
        "  [balance]   value=0..255  store=true|false    as 'balance VALUE' then 'balance --store'\n\n"
        "Files are named relative to the profile's folder. Values with a comma or with spaces at\n"
        "either end are written in double quotes; names take any letter case. Title lines, and those\n"
        "of a title file, must be shown in the text encoding: the --encoding when it is given, else\n"
        "that of the profile's code-page (PC850: IBM850, Russian: IBM866, ...; the window's choice\n"
        "too), else the default. The whole profile and every file it names\n"
        "are checked before anything is sent to any port. After [general] the later steps reach the\n"
        "display at its new display-baud and display-format; between steps vfdctl waits two seconds\n"
        "for the display's restart.\n\n"
        "After a successful apply vfdctl records, per port, a digest of the profile, of every file\n"
        "it names and of the text encoding, and the time (see vfdctl(1), FILES).\n\n"
        "  --changed-only  a port whose record matches is reported unchanged and nothing is sent\n"
        "                  to it; a changed profile or file, or a record that cannot be read, applies\n"
        "                  (a record that cannot be removed: nothing is sent, the port fails)\n"
        "  --force         with --changed-only: apply whatever the record says\n"
        "  --check         check the profile and its files, open each port, wait for DSR and close\n"
        "                  it, send nothing: report 'would apply', 'unchanged' or the failure\n\n"
        "Exit status: 2 a file that is no profile (not UTF-8 text, no known section, a line of another\n"
        "kind, a section or key given twice, an empty section), an unknown section or key, or a bad\n"
        "value; 1 a file that fails its check, or a step that failed on the display.\n");
    command.prepare = prepare;
    return command;
}
