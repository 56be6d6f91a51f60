#pragma once

#include <string>

class QWidget;

namespace mokuro {

// Opens an HTML document with the program that the desktop associates with web pages.
class DocumentOpener {
 public:
  enum class Result {
    Opened,
    // The document is there but no program is set to open web pages.
    NoAssociation,
    // The document is missing, or the program could not be started.
    Failed,
  };

  virtual ~DocumentOpener() = default;
  // `owner` is the window on whose behalf the document is opened; the program starts in
  // `folder`.
  virtual Result Open(QWidget* owner, const std::string& document, const std::string& folder) = 0;
};

// The desktop's opener.
DocumentOpener& SystemDocumentOpener();

}  // namespace mokuro
