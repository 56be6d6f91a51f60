#pragma once

#include <string>

#include "app_paths.h"
#include "document_opener.h"
#include "plain_message_box.h"

class QWidget;

namespace mokuro {

// The help buttons of the main window and of the settings dialog: opens index.htm of the
// help folder; what goes wrong is told through `messages`.
void OpenHelp(QWidget* owner, PlainMessageBox& messages, DocumentOpener& opener = SystemDocumentOpener(),
              const std::string& folder = HelpDir());

}  // namespace mokuro
