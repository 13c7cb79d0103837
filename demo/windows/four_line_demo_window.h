#pragma once

#include "windows/demo_window.h"

#include <QByteArray>
#include <QList>
#include <QString>

class WindowChain;
class PortJob;
class PortSession;

// "KD426-繁體": the four-line model's line commands, its clock and the printer pass-through. Every
// press opens the shared port, writes, and closes it again.
class FourLineDemoWindow : public DemoWindow
{
    Q_OBJECT
public:
    explicit FourLineDemoWindow(WindowChain& navigator);

    // What a button does, in order: bytes to write, or a line the person is asked for.
    struct Step
    {
        QByteArray bytes;      // written as they are; or, for a prompted line, the command before the reply
        bool prompted = false; // a line asked for: `bytes`, the reply and CR go out as one write
        QString defaultReply;
        QString text; // text in the displays' page, written after `bytes` (the printer lines)
    };

private:
    void press(int number);
    // One button's steps; empty for a number without a button.
    QList<Step> steps(int number) const;
    // Runs `steps` from `next` on, adding the port work to `job` until a prompt needs the work so far
    // done; the port is closed at the end and after any failure.
    void proceed(PortJob job, const QList<Step>& steps, int next);
    QList<Step> timeLine(char letter) const;
    QList<Step> toPrinter() const;

    WindowChain& navigator_;
};
