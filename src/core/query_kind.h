#pragma once

#include <cstdint>
#include <string_view>

namespace mokuro {

// The kind of the last query sent; a reply carries nothing that says which command it
// answers, so it is dispatched by this.
enum TQueryKind : std::int8_t {
  qkCharge = 0,
  qkDialInfo = 1,
  qkRxInfo = 2,
  qkAutoCheck = 3,
  qkChrgClr = 4,
};

// The enumerator's name, for the event log.
std::string_view QueryKindName(TQueryKind kind);

}  // namespace mokuro
