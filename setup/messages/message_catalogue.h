#pragma once

#include "setup/messages/message.h"
#include "setup/protocol/operation_dialogs.h"

#include <optional>

// The message catalogue: every box vfdsetup and vfdctl show, with its icon, title and text, written
// once. The operations and the file checks say what happened by kind; these are its words.

// What is still to be told of an outcome when the operation has ended; nothing for a success, a missing
// acknowledgement and a stop (their boxes came at their point, or there is nothing to say).
std::optional<Message> outcomeMessage(const Outcome& outcome);
// The box of a refused input; nothing where there is nothing to say.
std::optional<Message> refusalMessage(const Refusal& refusal);
// The box an operation waits on.
Message noticeMessage(const Notice& notice);

// After "Cancel": how far the transfer got and the state it leaves the display in. `pageCount` 0: the
// update header was not acknowledged yet; `bytesSent` of the DEMO file went out in acknowledged blocks.
Message firmwareCancelledMessage(int pagesSent, int pageCount);
Message demoCancelledMessage(qint64 bytesSent, qint64 fileLength);
// The notice the window shows once it has loaded.
Message flashNoticeMessage();
// File → Load profile… refused the file, `why` in the profile reader's words; Save profile… could not
// write `path`.
Message profileRefusedMessage(const QString& why);
Message profileNotWrittenMessage(const QString& path);
// The traffic pane could not be saved to `path`.
Message trafficNotWrittenMessage(const QString& path);

// A number as the shortest decimal with at most `decimals` digits after the point.
QString shortDecimal(double value, int decimals);
