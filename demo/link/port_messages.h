#pragma once

#include "core/dialogs.h"

#include <QString>

struct JobResult;

// A box of vfddemo's port work: its icon, title and text.
struct PortMessage
{
    Dialogs::Icon icon;
    QString title;
    QString text;
};

// "Port Error" for a job whose port failed: "COM2 failed while writing (error 8030):\n" and the
// system's reason. The number is vfddemo's own for what failed, after the serial control the displays
// were first driven by: 8002 missing, 8005 in use (or not this user's), 8015 line settings refused,
// 8030 a write, 8000 anything else.
PortMessage portFailedMessage(const JobResult& result);
// "Port Error" for a demonstration started before any port was chosen.
PortMessage noPortChosenMessage();
// The reason a port is not opened with line settings text that names none.
QString refusedSettingsReason(const QString& portText, const QString& settingsText);
// "Text Error" for a text with a character the display lacks, in the encoding's own words.
PortMessage textRefusedMessage(const QString& refusal);
