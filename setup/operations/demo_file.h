#pragma once

#include <QString>

class Dialogs;

// What the check of a chosen DEMO file found.
enum class DemoFileCheck {
    Accepted,  // opens with the block signature 55 AA 5A A5
    Invalid,   // fewer than four bytes (missing, empty or short): "InValid File!"
    Illegal,   // four bytes that are not the signature: "Illegal DEMO File!"
    ReadError, // the file exists but cannot be read: "Open File Error !!"
};

// Reads the first four bytes of the file and compares them with the signature.
DemoFileCheck checkDemoFile(const QString& path);
// Shows the box of a rejected check (nothing for an accepted file).
void showDemoFileCheck(Dialogs& dialogs, DemoFileCheck check);
// The name shown for a chosen file: what follows the last separator of the platform ("\" or "/"
// on Windows, "/" elsewhere), or the whole path when it has none.
QString demoFileName(const QString& path);
