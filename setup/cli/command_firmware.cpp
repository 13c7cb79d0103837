#include "setup/cli/applied_records.h"
#include "setup/cli/cli_command.h"
#include "setup/cli/named_file_check.h"
#include "setup/cli/outcome_report.h"
#include "setup/cli/port_run.h"
#include "setup/messages/message_catalogue.h"
#include "setup/operations/firmware_file.h"
#include "setup/operations/firmware_update.h"
#include "setup/protocol/display_access.h"
#include "setup/protocol/setup_request.h"

#include <cmath>

namespace {

constexpr int kBarWidth = 30;

// The time a page takes at the protocol's fixed pace: its display text and its page frames on the
// wire at the setup rate (ten bits a byte), their two acknowledgements (a pulse of about 0.2 s after a
// short delay), and the pause after it. The time left is this for each page still to go, so it only
// counts down, whatever one page took.
constexpr qint64 kPageWireBytes = (4 + 40) + (3 + 3 + 2 + 2 + kFirmwarePageSize);
constexpr double kAcknowledgementSeconds = 0.22;
const double kPageSeconds =
    kFirmwarePauseMs / 1000.0 + 2 * kAcknowledgementSeconds + kPageWireBytes * 10.0 / kSetupSettings.baud;

QString minutesSeconds(double seconds)
{
    const int whole = static_cast<int>(std::ceil(std::max(0.0, seconds)));
    return QStringLiteral("%1:%2").arg(whole / 60).arg(whole % 60, 2, 10, QLatin1Char('0'));
}

// Shows the progress of the transfer: on a terminal one line rewritten in place, otherwise one
// line per page. Any box shown meanwhile first ends the bar's line, so the two never share one.
class ProgressPrinter : public OperationDialogs
{
public:
    ProgressPrinter(PortRun& run) : run_(run), inner_(run.access.dialogs) {}

    void page(int written, int pages, const QString& percentage)
    {
        if (run_.target.quiet)
            return;
        if (!run_.target.stdoutIsTerminal) {
            if (written == pages)
                run_.out << "firmware: " << pages << " of " << pages << " pages sent, 100%" << Qt::endl;
            else
                run_.out << "firmware: page " << (written + 1) << " of " << pages << ", " << percentage
                         << " sent" << Qt::endl;
            return;
        }
        const int filled = pages > 0 ? written * kBarWidth / pages : 0;
        const QString bar = QString(filled, QLatin1Char('#')) + QString(kBarWidth - filled, QLatin1Char('.'));
        run_.out << "\r[" << bar << "] " << percentage.rightJustified(6) << "  page "
                 << std::min(written + 1, pages) << "/" << pages << "  "
                 << minutesSeconds(kPageSeconds * (pages - written)) << " left ";
        lineOpen_ = true;
        if (written == pages)
            endLine();
        else
            run_.out.flush();
    }

    void endLine()
    {
        if (lineOpen_)
            run_.out << Qt::endl;
        lineOpen_ = false;
    }

    void message(Icon icon, const QString& title, const QString& text, const QString& detail = {}) override
    {
        endLine();
        inner_.message(icon, title, text, detail);
    }
    void tell(const Notice& notice) override
    {
        endLine();
        inner_.tell(notice);
    }
    QString input(const QString& title, const QString& prompt, const QString& defaultText,
                  bool* accepted = nullptr) override
    {
        endLine();
        return inner_.input(title, prompt, defaultText, accepted);
    }
    QString openFile(const QString& title) override { return inner_.openFile(title); }

private:
    PortRun& run_;
    OperationDialogs& inner_;
    bool lineOpen_ = false;
};

CliPlan prepare(CliContext& context, const QStringList& args)
{
    ParsedArgs parsed;
    QString error;
    if (!parseArgs(args, {}, {QStringLiteral("force")}, &parsed, &error) || parsed.positional.size() != 1) {
        if (error.isEmpty())
            error = parsed.positional.isEmpty() ? QStringLiteral("expected a firmware file")
                                                : QStringLiteral("expected one firmware file, not %1 words")
                                                      .arg(parsed.positional.size());
        context.err << "vfdctl firmware: " << error << " (see vfdctl firmware --help)" << Qt::endl;
        return CliPlan::done(CliExit::Usage);
    }
    if (const std::optional<int> refused = refuseUnreadableNamedFile(context, parsed.positional.first()))
        return CliPlan::done(*refused);
    const FirmwareFileCheck check = checkFirmwareFile(parsed.positional.first());
    if (!check.valid())
        return CliPlan::done(reportRefusedFile(context, *check.refusal, parsed.positional.first()));
    return CliPlan::run(firmwareJob(check.image, parsed.options.contains(QStringLiteral("force"))));
}

} // namespace

CliJob firmwareJob(const QByteArray& firmwareImage, bool forced, const QString& forceAgain)
{
    return [firmwareImage, forced, forceAgain](PortRun& run) {
        ProgressPrinter printer(run);
        run.report.pagesSent = 0;
        DisplayAccess access(run.access.link, run.access.pacer, printer, run.access.selection,
                             run.access.stop);
        run.interruption = QStringLiteral("Interrupted before the first page: the display may wait in its "
                                          "setup state; switch it off and on again");
        const Outcome outcome = updateFirmware(
            access, firmwareImage, forced, [&](int written, int pages, const QString& percentage) {
                printer.page(written, pages, percentage);
                run.report.pagesSent = written;
                if (written > 0)
                    run.interruption = QStringLiteral("Interrupted after page %1 of %2: the display stays in "
                                                      "its update state; run the update again, %3 "
                                                      "if it no longer answers")
                                           .arg(written)
                                           .arg(pages)
                                           .arg(forceAgain);
            });
        printer.endLine();
        return reportOutcome(run, outcome, forced);
    };
}

CliCommand firmwareCommand()
{
    CliCommand command;
    command.name = QStringLiteral("firmware");
    command.synopsis =
        QStringLiteral("firmware FILE [--force]        check a .wfu file and flash it into the display");
    command.help =
        QStringLiteral(
            "NAME\n"
            "    vfdctl firmware - check a firmware file and flash it into a VQ71xx display\n"
            "\n"
            "SYNOPSIS\n"
            "    vfdctl [global options] firmware FILE [--force]\n"
            "\n"
            "DESCRIPTION\n"
            "    Checks FILE as the window's \"Open File\" does, then sends it as \"DownLoad\" does.\n"
            "\n"
            "    The checks, in order: the name contains \".wfu\" and one of the models VQ7140, VQ7146,\n"
            "    VQ7152 (case is ignored); the file holds at most 49152 bytes; its last two bytes, high\n"
            "    byte first, are the CRC-16/MODBUS of the rest of the file followed by one 0x00 byte.\n"
            "    A failed check is printed as \"%1: ...\" and nothing is sent.\n"
            "\n"
            "    The image then goes to the display in 512-byte pages, each after a progress line on\n"
            "    the display and followed by a pause of one second, so a 48 KB file takes about two\n"
            "    minutes. At the end the display shows \"**Update Successful*\" and restarts.\n"
            "    On a terminal a bar shows the percentage and the time left; otherwise one line is\n"
            "    printed per page. Do not switch the display off while it runs.\n"
            "\n"
            "OPTIONS\n"
            "    --force\n"
            "        Forced overwrite: the display's DIP switch 12 is ON, so it is already waiting\n"
            "        for firmware and no setup request is sent. Without it (online update) DIP-12 must\n"
            "        be OFF and the display is reached at the global --baud and --format.\n"
            "\n"
            "EXIT STATUS\n"
            "    0  the image was sent and the display told to restart\n"
            "    1  the file was refused, or the port or the display failed (the reason is on stderr)\n"
            "    2  usage error\n"
            "\n"
            "EXAMPLES\n"
            "    vfdctl --port /dev/ttyUSB0 firmware FW_VQ7146_V12.WFU\n"
            "    vfdctl --port COM3 firmware --force FW_VQ7146_V12.WFU\n")
            .arg(refusalMessage({Refusal::FirmwareCrcMismatch})->title);
    // Whatever it writes, the port's record of what apply applied no longer holds.
    command.prepare = forgettingRecords(prepare);
    return command;
}
