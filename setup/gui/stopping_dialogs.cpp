#include "setup/gui/stopping_dialogs.h"

#include "widgets/gui_dialogs.h"

#include <QWidget>

void StoppingDialogs::stopWhenClosing()
{
    if (windowDialogs_ && windowDialogs_->closing())
        stop_ = true;
}
