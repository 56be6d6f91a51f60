#include "query_kind.h"

namespace mokuro {

std::string_view QueryKindName(TQueryKind kind) {
  switch (kind) {
    case qkCharge: return "qkCharge";
    case qkDialInfo: return "qkDialInfo";
    case qkRxInfo: return "qkRxInfo";
    case qkAutoCheck: return "qkAutoCheck";
    case qkChrgClr: return "qkChrgClr";
  }
  return "unknown";
}

}  // namespace mokuro
