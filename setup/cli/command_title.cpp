#include "core/quoted_value.h"
#include "setup/cli/applied_records.h"
#include "setup/cli/cli_command.h"
#include "setup/cli/named_file_check.h"
#include "setup/cli/outcome_report.h"
#include "setup/messages/message_catalogue.h"
#include "setup/operations/title_file.h"
#include "setup/operations/title_page.h"
#include "setup/protocol/display_access.h"

namespace {

CliPlan prepareWrite(CliContext& context, const QStringList& args)
{
    ParsedArgs parsed;
    QString error;
    if (!parseArgs(args, {QStringLiteral("file")}, {}, &parsed, &error)) {
        context.err << "vfdctl title write: " << error << Qt::endl;
        return CliPlan::done(CliExit::Usage);
    }
    const bool fromFile = parsed.options.contains(QStringLiteral("file"));
    if (fromFile ? !parsed.positional.isEmpty() : parsed.positional.size() != 2) {
        context.err << "vfdctl title write: give two lines, or --file F (see vfdctl title --help)"
                    << Qt::endl;
        return CliPlan::done(CliExit::Usage);
    }
    QStringList lines = parsed.positional;
    if (fromFile) {
        // As the window's "File Input" reads it; with no box to keep an earlier line, a file
        // without two lines writes nothing.
        const QString path = parsed.options.value(QStringLiteral("file"));
        if (const std::optional<int> refused = refuseUnreadableNamedFile(context, path))
            return CliPlan::done(*refused);
        const TitleFileLines read = readTitleFile(path, context.encoding);
        if (!read.complete())
            return CliPlan::done(reportRefusedFile(context, read.refusal, path));
        lines = read.lines;
    }
    for (const QString& line : lines) {
        if (line.size() > kTitleLineLength) {
            context.err << "vfdctl title write: a line holds at most " << kTitleLineLength << " characters, "
                        << quotedValue(line) << " has " << line.size() << Qt::endl;
            return CliPlan::done(CliExit::Usage);
        }
    }
    // A line the display cannot show is refused input like a long one, told once however many ports.
    if (const Outcome fits = checkTitleLines(lines.at(0), lines.at(1), context.encoding); !fits) {
        reportOutcome(context.dialogs, fits);
        return CliPlan::done(CliExit::Usage);
    }
    return CliPlan::runRepeatable([lines](PortRun& run) {
        return reportOutcome(run, writeTitlePage(run.access, lines.at(0), lines.at(1)));
    });
}

} // namespace

CliCommand titleCommand()
{
    CliCommand command;
    command.name = QStringLiteral("title");
    command.synopsis =
        QStringLiteral("title write LINE1 LINE2        write the power-on title page\n"
                       "title write --file F           ... from the first two lines of a text file\n"
                       "title erase                    erase the power-on title page");
    command.help =
        QStringLiteral(
            "Usage: vfdctl [global options] title write LINE1 LINE2\n"
            "       vfdctl [global options] title write --file F\n"
            "       vfdctl [global options] title erase\n\n"
            "write  stores the two lines the display shows when it is switched on, then restarts it.\n"
            "       Each line holds at most 20 characters and is filled up with spaces; an empty line\n"
            "       is 20 spaces. Every character must exist in the text encoding (--encoding) and a\n"
            "       line must fit in 20 bytes of it: any other line is refused and nothing is sent.\n"
            "--file F  takes the lines from the first two lines of the text file F (UTF-8, with or\n"
            "       without a byte-order mark, or else text in the --encoding; CR LF, LF or CR line\n"
            "       ends), each cut to 20 characters.\n"
            "       A file with fewer than two lines is refused with \"%1\".\n"
            "erase  erases the title page; the display then shows its own power-on lines.\n\n"
            "Both run the setup exchange at 115200 baud after reaching the display at the global\n"
            "--baud and --format (its current settings).\n")
            .arg(refusalMessage({Refusal::FileUnreadable})->text);
    // Whatever it writes, the port's record of what apply applied no longer holds.
    command.prepare = forgettingRecords([](CliContext& context, const QStringList& args) {
        if (args.value(0) == QLatin1String("write"))
            return prepareWrite(context, args.mid(1));
        if (args.value(0) == QLatin1String("erase") && args.size() == 1)
            return CliPlan::runRepeatable(
                [](PortRun& run) { return reportOutcome(run, eraseTitlePage(run.access)); });
        context.err << "vfdctl title: expected 'write LINE1 LINE2', 'write --file F' or 'erase'"
                       " (see vfdctl title --help)"
                    << Qt::endl;
        return CliPlan::done(CliExit::Usage);
    });
    return command;
}
