// Every device operation once, with the input it is tested with and where each front end starts it:
// the golden transcripts, the fault matrix and the wiring tables of the window and of vfdctl share it.
#pragma once

#include "setup/messages/outcome_box.h"
#include "setup/operations/demo_transfer.h"
#include "setup/operations/factory_adjustment.h"
#include "setup/operations/firmware_update.h"
#include "setup/operations/general_record.h"
#include "setup/operations/title_page.h"
#include "setup/tests/device_bench.h"

enum class Op {
    GeneralWrite,
    GeneralErase,
    TitleWrite,
    TitleErase,
    DemoWrite,
    DemoErase,
    Balance,
    BalanceStore,
    FirmwareOnline,
    FirmwareForced
};

struct OpCase
{
    Op op;
    const char* name;
    int tab;              // the window's page that starts it, -1 for the factory page
    const char* button;   // the button that starts it, null for the balance slider
    const char* vfdctl;   // the command line after the global options; FILE is the input file
    int strictWaits;      // acknowledgements the operation cannot go on without
    int writesBeforeWait; // in a sound run, the writes made before the first acknowledgement wait
};

inline const OpCase kOps[] = {
    {Op::GeneralWrite, "general write", 0, "ComRegTalvex", "params|write", 2, 1},
    {Op::GeneralErase, "general erase", 0, "ComCancelReg", "params|erase", 2, 1},
    {Op::TitleWrite, "title write", 2, "ComCoverPage_1", "title|write|Fresh bread|daily", 2, 2},
    {Op::TitleErase, "title|erase", 2, "ComCancelCoverPage_0", "title|erase", 2, 1},
    {Op::DemoWrite, "DEMO write", 2, "cmbWriteDEMO", "demo|write|FILE", 5, 1},
    {Op::DemoErase, "DEMO erase", 2, "cmbEraseDEMO", "demo|erase", 1, 1},
    {Op::Balance, "balance", -1, nullptr, "balance|200", 1, 2},
    {Op::BalanceStore, "balance store", -1, "ComFatWrtie", "balance|--store", 1, 2},
    {Op::FirmwareOnline, "firmware online", 1, "ComDownLoad", "firmware|FILE", 2, 1},
    {Op::FirmwareForced, "firmware forced", 1, "ComDownLoad", "firmware|FILE|--force", 1, 7},
};

// The inputs: a three-block DEMO file and a three-page firmware image.
inline const QByteArray kDemoFile = demoBytes(1100);
inline const QByteArray kFirmwareImage = imageBytes(1100);

// The file an operation reads, written into `dir` (empty for operations without one).
inline QString opInputFile(Op op, const QTemporaryDir& dir)
{
    const bool demo = op == Op::DemoWrite;
    if (!demo && op != Op::FirmwareOnline && op != Op::FirmwareForced)
        return {};
    const QString path = dir.filePath(demo ? "shop.dem" : "FW_VQ7146_V12.wfu");
    if (!writeFile(path, demo ? kDemoFile : wfuFile(kFirmwareImage)))
        qFatal("cannot write %s", qPrintable(path));
    return path;
}

// Readies the display for the operation (DIP-12 ON for the forced update) on top of `faults`.
inline void prepareDisplay(Op op, SimulatedDisplay& display, SimulatedDisplay::Faults faults = {})
{
    faults.dipSwitch12On = op == Op::FirmwareForced;
    display.setFaults(faults);
}

inline Outcome runOp(Op op, DisplayAccess& access, const QString& file)
{
    const QByteArray heldImage = kFirmwareImage + QByteArray(1, '\0');
    switch (op) {
    case Op::GeneralWrite:
        return writeGeneralParameters(access, {});
    case Op::GeneralErase:
        return eraseGeneralParameters(access);
    case Op::TitleWrite:
        return writeTitlePage(access, QStringLiteral("Fresh bread"), QStringLiteral("daily"));
    case Op::TitleErase:
        return eraseTitlePage(access);
    case Op::DemoWrite:
        return writeDemo(access, file);
    case Op::DemoErase:
        return eraseDemo(access);
    case Op::Balance:
        return sendBalance(access, 200);
    case Op::BalanceStore:
        return storeBalance(access);
    case Op::FirmwareOnline:
        return updateFirmware(access, heldImage, false);
    case Op::FirmwareForced:
        return updateFirmware(access, heldImage, true);
    }
    return Outcome::stopped();
}

// Runs the operation and shows its outcome's box as the window does.
inline Outcome presentOp(Op op, DisplayAccess& access, const QString& file)
{
    const Outcome outcome = runOp(op, access, file);
    showOutcome(access.dialogs, outcome);
    return outcome;
}
