#pragma once

#include "setup/protocol/outcome.h"

#include <QByteArray>
#include <QString>
#include <functional>

struct DisplayAccess;

constexpr int kFirmwarePageSize = 512;
constexpr int kFirmwarePauseMs = 1000; // after the update request and after every page

// The number of 512-byte pages for a held image (the image plus its appended 0x00 byte).
int firmwarePageCount(const QByteArray& firmwareImage);
// The share of the image sent so far: the whole part of 1000 * sent / length, divided by 10, as the
// shortest decimal with a point, and "%": 0%, 17%, 34.1%.
QString firmwarePercentage(qint64 sent, qint64 length);
// The display's first line while it is being programmed: "Progressing", blanks, the percentage,
// 20 characters in all.
QString progressingLine(const QString& percentage);

// Progress of a running update: (0, pageCount, "0%") once the header is acknowledged, then after
// each page the pages sent so far, the page count and the share sent; the last (pageCount,
// pageCount, "100%").
using FirmwareProgress = std::function<void(int pagesSent, int pageCount, const QString& percentage)>;

// Flashes the image into the display page by page and restarts it. `firmwareImage` is the held
// image with its appended 0x00 byte, which is never sent. Online mode (`forced` false) asks the
// display into its setup state first; forced mode expects it there already (DIP-12 ON). Done when
// every page was sent and the restart command written. A failed header, a failed port or a stop
// request ends it with nothing more sent and no restart command; the port is closed on every path.
Outcome updateFirmware(DisplayAccess& access, const QByteArray& firmwareImage, bool forced,
                       const FirmwareProgress& progress = {});
