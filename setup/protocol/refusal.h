#pragma once

#include <QString>
#include <QtGlobal>

// Why input was refused (a file, a title line, a balance), by kind, with the facts its message names. A
// refusal comes before anything is sent for the input, or, for a file that changed while it was sent,
// before more is. The words a person reads are the message catalogue's.
struct Refusal
{
    enum Kind {
        NoFileChosen,             // the firmware file: no name at all
        FirmwareWithoutExtension, // no ".wfu" in the firmware file's name
        FirmwareWithoutModel,     // no model of the list in the firmware file's name
        FirmwareTooLarge,         // a firmware file over 48 KB
        FirmwareUnreadable,       // a firmware file that is a folder, gone, holds no image or fails to read
        FirmwareCrcMismatch,      // the firmware file's last two bytes are not the CRC of the rest
        NoFirmwareImage,          // no checked image to send, or one the display cannot take
        DemoTooShort,             // a DEMO file of fewer than four bytes (missing and empty ones too)
        DemoWithoutSignature,     // a DEMO file that does not open with 55 AA 5A A5
        DemoTooLarge,             // a DEMO file too long to announce: `size` is its length
        FileUnreadable,      // a DEMO or title file that cannot be read, or a title file without two lines;
                             // `reason` the system's reason, or what a file that is not a regular one is
        TitleFileTooLarge,   // a title file of `size` bytes, more than any title file holds
        TitleFileNotText,    // `subject` the title file's name, `reason` the encoding it is not text in
        TitleLineUnshowable, // `subject` the line, `reason` why the display cannot show it
        FileGone,            // a DEMO file gone since it was chosen: nothing to send, nothing to say
        BalanceOutOfRange,   // a balance outside one byte: no record for it, nothing to say
    };

    Kind kind;
    qint64 size = 0;
    QString subject{};
    QString reason{};
};
