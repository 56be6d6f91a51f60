#pragma once

#include <cstdint>
#include <string_view>

namespace mokuro {

// The kind of a query sent to the adapter; a reply is dispatched by the kind of the query
// it answers.
enum TQueryKind : std::int8_t {
  qkCharge = 0,
  qkDialInfo = 1,
  qkRxInfo = 2,
  qkAutoCheck = 3,
  qkChrgClr = 4,
};

inline constexpr int kQueryKindCount = 5;

// The enumerator's name, for the event log.
std::string_view QueryKindName(TQueryKind kind);

}  // namespace mokuro
