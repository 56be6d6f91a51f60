#include "line_matching.h"

#include <gtest/gtest.h>

#include <numeric>
#include <vector>

namespace mokuro {
namespace {

TEST(MatchLines, FindsTheLinesLeftInPlace) {
  struct Case {
    const char* name;
    std::vector<int> original;
    std::vector<int> edited;
    std::vector<int> match;
  };
  const Case cases[] = {
      {"nothing", {}, {}, {}},
      {"all new", {}, {1, 2}, {-1, -1}},
      {"all gone", {1, 2}, {}, {}},
      {"unchanged", {1, 2, 3}, {1, 2, 3}, {0, 1, 2}},
      {"one changed", {1, 2, 3}, {1, 9, 3}, {0, -1, 2}},
      {"inserted at the top", {1, 2}, {9, 1, 2}, {-1, 0, 1}},
      // Two lines that read alike: each keeps its own place.
      {"first of two alike deleted", {5, 1, 5, 2}, {1, 5, 2}, {1, 2, 3}},
      {"second of two alike deleted", {5, 1, 5, 2}, {5, 1, 2}, {0, 1, 3}},
      {"edit between two alike", {5, 1, 5}, {5, 9, 5}, {0, -1, 2}},
      {"alike lines among edits", {1, 5, 5, 2}, {8, 5, 9, 5, 7}, {-1, 1, -1, 2, -1}},
      {"moved line", {1, 2, 3, 4}, {2, 3, 4, 1}, {1, 2, 3, -1}},
  };
  for (const Case& c : cases) EXPECT_EQ(MatchLines(c.original, c.edited), c.match) << c.name;
}

// Books too long to compare line against line: the lines that occur once divide them.
TEST(MatchLines, LongTextsWithEditsFarApart) {
  std::vector<int> original(20000);
  std::iota(original.begin(), original.end(), 0);
  original[5000] = original[15000] = -7;  // two lines alike, between the edits
  std::vector<int> edited = original;
  edited[10] = 100000;
  edited.erase(edited.begin() + 19000);
  edited.insert(edited.begin() + 12000, {100001, -7});

  const std::vector<int> match = MatchLines(original, edited);
  ASSERT_EQ(match.size(), edited.size());
  for (std::size_t j = 0; j < edited.size(); ++j) {
    const int expected = j == 10 || j == 12000 || j == 12001 ? -1 : static_cast<int>(j < 12000 ? j : j < 19002 ? j - 2 : j - 1);
    ASSERT_EQ(match[j], expected) << j;
  }
}

}  // namespace
}  // namespace mokuro
