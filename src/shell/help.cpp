#include "help.h"

namespace mokuro {

void OpenHelp(QWidget* owner, PlainMessageBox& messages, DocumentOpener& opener, const std::string& folder) {
  const std::string page = folder + kPathSeparator + "index.htm";
  switch (opener.Open(owner, page, folder)) {
    case DocumentOpener::Result::Opened:
      break;
    case DocumentOpener::Result::NoAssociation:
      messages.ShowMessage("*.htmがWebブラウザに関連付けられていないため\nHelpを表示することが出来ません");
      break;
    case DocumentOpener::Result::Failed:
      messages.ShowMessage("Helpファイル(help\\index.htm)の実行に失敗しました");
      break;
  }
}

}  // namespace mokuro
