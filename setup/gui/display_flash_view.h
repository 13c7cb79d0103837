#pragma once

#include "setup/sim/display_flash.h"

#include <QString>

// What a VQ71xx display holds in its flash, in words a person reads: the general parameters by
// the names the General page offers, the title page's two lines as the display draws them, the
// DEMO's and the firmware image's size and CRC-16, and the brightness balance.
struct DisplayFlashView
{
    QString general; // "stored" or that the record is erased and what the display then runs at
    QString baudRate;
    QString dataFormat;
    QString commandSet;
    QString codePage;
    QString internationalCharset;
    QString brightness;
    QString titlePage;
    QString demo;
    QString firmware;
    QString balance;
};

DisplayFlashView describeDisplayFlash(const DisplayFlash& flash, int liveBalance);

// The code page code of the stored general record (byte 9); 255 ("not set") when it is erased.
int storedCodePage(const DisplayFlash& flash);
// The screen brightness the stored record asks for (byte 12: 0 = 100 %, 3 = 75 %, 2 = 50 %,
// 1 = 25 %), in percent; 100 when the record is erased or holds another code.
int storedBrightnessPercent(const DisplayFlash& flash);
