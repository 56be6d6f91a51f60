#pragma once

#include <vector>

namespace mokuro {

// Lines compared as a line-by-line difference does: for each line of `edited`, the index
// of the line of `original` that it is the unchanged copy of, or -1 for a line that is
// new or changed. Lines are given by keys, equal for equal texts. Matched lines keep their
// order on both sides; where a line occurs more than once, the match that keeps the most
// lines in place is taken.
std::vector<int> MatchLines(const std::vector<int>& original, const std::vector<int>& edited);

}  // namespace mokuro
