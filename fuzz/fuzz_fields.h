#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace mokuro::fuzz {

// The fuzzer's bytes as text.
inline std::string_view AsText(const std::uint8_t* data, std::size_t size) {
  return {reinterpret_cast<const char*>(data), size};
}

// Fields parted by zero bytes, which none of the program's texts hold; the last of at most
// `maxFields` fields keeps the rest, zero bytes and all.
inline std::vector<std::string_view> SplitFields(std::string_view data, std::size_t maxFields) {
  std::vector<std::string_view> fields;
  while (fields.size() + 1 < maxFields) {
    const std::size_t zero = data.find('\0');
    if (zero == std::string_view::npos) break;
    fields.push_back(data.substr(0, zero));
    data.remove_prefix(zero + 1);
  }
  fields.push_back(data);
  return fields;
}

}  // namespace mokuro::fuzz
