#pragma once

#include "setup/messages/message_catalogue.h"

// Dialogs that show each notice an operation waits on as its box, in the catalogue's words: what the
// window's, vfdctl's and the tests' dialogs have in common.
class CatalogueDialogs : public OperationDialogs
{
public:
    void tell(const Notice& notice) override { showMessage(*this, noticeMessage(notice)); }
};
