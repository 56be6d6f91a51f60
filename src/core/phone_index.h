#pragma once

#include <string>
#include <string_view>
#include <unordered_map>

#include "code_page.h"
#include "phone_list.h"

namespace mokuro {

// The phone book made ready for the lookup of every incoming call: numbers to names by
// the first line that matches, ASCII letters without regard to case, and the book's code
// page. Built when the book is loaded and when the editor saves it, so that a reply costs
// one hash lookup, however long the book.
class PhoneIndex {
 public:
  PhoneIndex() = default;
  explicit PhoneIndex(const TPhoneList& list);

  // As LookupName on the list it was built from.
  std::string Lookup(std::string_view number) const;
  CodePage Page() const { return page_; }

 private:
  std::unordered_map<std::string, std::string> names_;
  CodePage page_ = CodePage::Utf8;
};

}  // namespace mokuro
