#pragma once

#include <QString>

class SimulatedDisplay;

// Where a simulated display keeps its flash between runs of the programs, so that what one run stored
// (its rate, code page, title, DEMO, firmware, balance) is what the next run meets, as on a real
// display that stays powered between them (so the balance in use is kept too): one small text file per
// display ("sim", "sim:NAME"), written whole to a new file and renamed over the old one, so that a
// reader, or a second program saving the same display at the same moment, never meets half a file (the
// last to save wins).
class SimulatedFlashFile
{
public:
    // The user's folder for them: $XDG_STATE_HOME/talvex-display-tools/simulated-displays
    // (~/.local/state when XDG_STATE_HOME is not set; the local application data folder on Windows
    // and macOS).
    static QString userFolder();

    SimulatedFlashFile(const QString& folder, const QString& port);

    QString path() const { return path_; }
    // Gives `display` what the file keeps, or the factory state when there is no file yet or it cannot
    // be used: then the reason, else nothing.
    QString restore(SimulatedDisplay& display) const;
    // Keeps what `display` holds now; the reason when it could not be written, else nothing.
    QString keep(const SimulatedDisplay& display) const;

private:
    QString path_;
};
