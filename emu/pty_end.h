#pragma once

#include "emu/far_end.h"

class QSocketNotifier;
class QTimer;

// A pseudo-terminal whose master side is the display. The slave side is what the program opens; this end
// keeps a descriptor of the slave open itself, so that the program can close it and open it again any
// number of times without the master seeing a hang-up, and so that the terminal keeps its settings in
// between. The slave starts as a raw line at the display's own settings.
class PtyEnd : public FarEnd
{
    Q_OBJECT
public:
    explicit PtyEnd(const LineSettings& displaySettings, QObject* parent = nullptr);
    ~PtyEnd() override;

    LinkStatus open() override;
    QString name() const override { return path_; }

private:
    void readAvailable();

    LineSettings displaySettings_;
    int master_ = -1;
    int slave_ = -1;
    QString path_;
    // False where the terminal does not keep the data bits and parity a program sets.
    bool carriesFormat_ = true;
    QSocketNotifier* notifier_ = nullptr;
    // Polls while the master reports a hang-up, until the line carries bytes again.
    QTimer* retry_ = nullptr;
};
