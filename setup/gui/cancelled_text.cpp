#include "gui/cancelled_text.h"

QString firmwareCancelledText(int pagesSent, int pageCount)
{
    // The update request alone already takes the display out of service until an update completes.
    const QString state =
        QStringLiteral("The display stays in its update state and was not restarted: run the update again, "
                       "with \"Force overwrite\" checked if the display no longer answers.");
    if (pageCount == 0)
        return QStringLiteral("Firmware update cancelled before the first page.\r\n"
                              "If the update request reached the display, it waits in its update "
                              "state: run the update again, with \"Force overwrite\" checked if the "
                              "display no longer answers.");
    return QStringLiteral("Firmware update cancelled after page %1 of %2.\r\n")
               .arg(pagesSent)
               .arg(pageCount) +
           state;
}

QString demoCancelledText(qint64 bytesSent, qint64 fileLength)
{
    // The header alone clears the DEMO the display held.
    return QStringLiteral("DEMO write cancelled after %1 of %2 bytes.\r\n"
                          "The display may hold no complete DEMO now and was not restarted: "
                          "write the DEMO again, or erase it.")
        .arg(bytesSent)
        .arg(fileLength);
}
