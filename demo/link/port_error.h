#pragma once

#include <QString>

struct PortOutcome;

// Serial port numbers shown in vfddemo's messages, after the serial control the displays were first
// driven by. The links report their own numbers (core/link_status.h); they are turned into these here.
namespace PortErrorNumber {
constexpr int Missing = 8002;     // the port does not exist
constexpr int InUse = 8005;       // another program holds the port
constexpr int BadSettings = 8015; // the line-settings text cannot be applied
constexpr int WriteFailed = 8030; // the bytes did not leave the computer
constexpr int Other = 8000;
} // namespace PortErrorNumber

// The number vfddemo shows for a failed job.
int portErrorNumberOf(const PortOutcome& outcome);

// The text of the "Port Error" box for a failed job: "COM2 failed while writing (error 8030):\n...".
QString portErrorText(const PortOutcome& outcome);
