#include "phone_index.h"

#include <algorithm>

#include "ascii_text.h"

namespace mokuro {
namespace {

std::string AsciiLowered(std::string_view text) {
  std::string lowered(text);
  std::transform(lowered.begin(), lowered.end(), lowered.begin(), AsciiLower);
  return lowered;
}

}  // namespace

PhoneIndex::PhoneIndex(const TPhoneList& list) : page_(PhoneListCodePage(list)) {
  names_.reserve(list.size());
  for (const auto& line : list) {
    const auto equals = line.find('=');
    if (equals == std::string::npos) continue;
    // The first line of a number wins: a later one doesn't replace it.
    names_.try_emplace(AsciiLowered(std::string_view(line).substr(0, equals)), line.substr(equals + 1));
  }
}

std::string PhoneIndex::Lookup(std::string_view number) const {
  const auto found = names_.find(AsciiLowered(number));
  return found == names_.end() ? std::string() : found->second;
}

}  // namespace mokuro
