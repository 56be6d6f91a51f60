#include <sys/stat.h>

#include <QProcess>
#include <QStandardPaths>
#include <QString>
#include <QStringList>

#include "document_opener.h"

namespace mokuro {
namespace {

// The freedesktop.org tools: xdg-mime tells the program set for a type of file, xdg-open
// starts it, on any desktop or on none.
class XdgDocumentOpener final : public DocumentOpener {
 public:
  Result Open(QWidget*, const std::string& document, const std::string& folder) override {
    struct stat st {};
    if (::stat(document.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return Result::Failed;
    const QString opener = QStandardPaths::findExecutable("xdg-open");
    if (opener.isEmpty() || !HasDefaultProgram("text/html")) return Result::NoAssociation;
    const bool started = QProcess::startDetached(opener, {QString::fromStdString(document)},
                                                 QString::fromStdString(folder));
    return started ? Result::Opened : Result::Failed;
  }

 private:
  static bool HasDefaultProgram(const char* mimeType) {
    QProcess query;
    query.start("xdg-mime", {"query", "default", mimeType}, QIODevice::ReadOnly);
    if (!query.waitForFinished(kQueryTimeoutMs)) {
      query.kill();
      query.waitForFinished();
      return false;
    }
    return query.exitStatus() == QProcess::NormalExit && query.exitCode() == 0 &&
           !query.readAllStandardOutput().trimmed().isEmpty();
  }

  static constexpr int kQueryTimeoutMs = 5000;
};

}  // namespace

DocumentOpener& SystemDocumentOpener() {
  static XdgDocumentOpener opener;
  return opener;
}

}  // namespace mokuro
