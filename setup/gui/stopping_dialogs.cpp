#include "gui/stopping_dialogs.h"

#include "messages/message_catalogue.h"
#include "widgets/gui_dialogs.h"

#include <QWidget>

void StoppingDialogs::stopWhenClosing()
{
    if (windowDialogs_ && windowDialogs_->closing())
        stop_ = true;
}

void StoppingDialogs::tell(const Notice& notice)
{
    showMessage(*this, noticeMessage(notice));
}
