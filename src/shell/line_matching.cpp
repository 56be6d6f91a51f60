#include "line_matching.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <unordered_map>
#include <utility>

namespace mokuro {
namespace {

// Lines [a0, a1) of the original against lines [b0, b1) of the edited text.
struct Range {
  std::size_t a0, a1, b0, b1;
};

// Ranges up to this many pairs of lines are compared in full.
constexpr std::size_t kFullComparison = std::size_t{1} << 16;

// The longest common subsequence of the two ranges, from a table of the common lengths of
// their tails.
void MatchInFull(const std::vector<int>& a, const std::vector<int>& b, const Range& r, std::vector<int>& match) {
  const std::size_t n = r.a1 - r.a0;
  const std::size_t m = r.b1 - r.b0;
  std::vector<std::uint32_t> tail((n + 1) * (m + 1), 0);
  const auto at = [m, &tail](std::size_t i, std::size_t j) -> std::uint32_t& { return tail[i * (m + 1) + j]; };
  for (std::size_t i = n; i-- > 0;) {
    for (std::size_t j = m; j-- > 0;) {
      at(i, j) = a[r.a0 + i] == b[r.b0 + j] ? at(i + 1, j + 1) + 1 : std::max(at(i + 1, j), at(i, j + 1));
    }
  }
  std::size_t i = 0;
  std::size_t j = 0;
  while (i < n && j < m) {
    if (a[r.a0 + i] == b[r.b0 + j]) {
      match[r.b0 + j++] = static_cast<int>(r.a0 + i++);
    } else if (at(i + 1, j) >= at(i, j + 1)) {
      ++i;
    } else {
      ++j;
    }
  }
}

// Lines that occur once on each side, the longest run of them in the same order on both
// (as a patience sort finds it): pairs of original and edited index.
std::vector<std::pair<std::size_t, std::size_t>> UniqueAnchors(const std::vector<int>& a, const std::vector<int>& b,
                                                               const Range& r) {
  struct Seen {
    std::size_t inA = 0, inB = 0, atA = 0, atB = 0;
  };
  std::unordered_map<int, Seen> seen;
  for (std::size_t i = r.a0; i < r.a1; ++i) {
    Seen& s = seen[a[i]];
    ++s.inA;
    s.atA = i;
  }
  for (std::size_t j = r.b0; j < r.b1; ++j) {
    Seen& s = seen[b[j]];
    ++s.inB;
    s.atB = j;
  }
  std::vector<std::pair<std::size_t, std::size_t>> pairs;
  for (std::size_t j = r.b0; j < r.b1; ++j) {
    const Seen& s = seen[b[j]];
    if (s.inA == 1 && s.inB == 1) pairs.emplace_back(s.atA, j);
  }
  // Longest increasing run of original indices: piles by their top, each pair linked to the
  // top of the pile before its own.
  std::vector<std::size_t> tops;
  std::vector<std::size_t> before(pairs.size());
  for (std::size_t k = 0; k < pairs.size(); ++k) {
    const auto pile = std::ranges::lower_bound(tops, pairs[k].first, {}, [&](std::size_t t) { return pairs[t].first; });
    before[k] = pile == tops.begin() ? pairs.size() : *(pile - 1);
    if (pile == tops.end()) {
      tops.push_back(k);
    } else {
      *pile = k;
    }
  }
  std::vector<std::pair<std::size_t, std::size_t>> anchors;
  for (std::size_t k = tops.empty() ? pairs.size() : tops.back(); k < pairs.size(); k = before[k]) {
    anchors.push_back(pairs[k]);
  }
  std::ranges::reverse(anchors);
  return anchors;
}

}  // namespace

std::vector<int> MatchLines(const std::vector<int>& original, const std::vector<int>& edited) {
  const std::vector<int>& a = original;
  const std::vector<int>& b = edited;
  std::vector<int> match(b.size(), -1);
  std::vector<Range> todo{{0, a.size(), 0, b.size()}};
  while (!todo.empty()) {
    Range r = todo.back();
    todo.pop_back();
    while (r.a0 < r.a1 && r.b0 < r.b1 && a[r.a0] == b[r.b0]) match[r.b0++] = static_cast<int>(r.a0++);
    while (r.a0 < r.a1 && r.b0 < r.b1 && a[r.a1 - 1] == b[r.b1 - 1]) match[--r.b1] = static_cast<int>(--r.a1);
    if (r.a0 == r.a1 || r.b0 == r.b1) continue;
    if ((r.a1 - r.a0) * (r.b1 - r.b0) <= kFullComparison) {
      MatchInFull(a, b, r, match);
      continue;
    }
    // Too long to compare in full: the lines that occur once on each side divide the
    // ranges, and the parts between them are compared in turn.
    std::size_t a0 = r.a0;
    std::size_t b0 = r.b0;
    const auto anchors = UniqueAnchors(a, b, r);
    for (const auto& [i, j] : anchors) {
      match[j] = static_cast<int>(i);
      todo.push_back({a0, i, b0, j});
      a0 = i + 1;
      b0 = j + 1;
    }
    if (!anchors.empty()) todo.push_back({a0, r.a1, b0, r.b1});
  }
  return match;
}

}  // namespace mokuro
