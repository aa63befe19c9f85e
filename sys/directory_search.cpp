// SPDX-License-Identifier: MIT
#include "sys/directory_search.h"

#include <algorithm>
#include <string_view>

namespace reelcraft {

namespace {

char Upper(char c) { return (c >= 'a' && c <= 'z') ? char(c - 'a' + 'A') : c; }

} // namespace

bool MatchesPattern(std::string_view name, std::string_view pattern) {
  // Backtracking over the last '*' only: enough for any pattern, without recursion.
  size_t n = 0, p = 0, starP = std::string_view::npos, starN = 0;
  while (n < name.size()) {
    if (p < pattern.size() && pattern[p] == '*') {
      starP = p++;
      starN = n;
    } else if (p < pattern.size() && (pattern[p] == '?' || Upper(pattern[p]) == Upper(name[n]))) {
      ++p;
      ++n;
    } else if (starP != std::string_view::npos) {
      p = starP + 1;
      n = ++starN;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*')
    ++p;
  return p == pattern.size();
}

namespace {

// Case-insensitive order; names equal but for case (possible here) keep a fixed order.
bool NameBefore(const std::string &a, const std::string &b) {
  auto upper = [](unsigned char x, unsigned char y) { return Upper(char(x)) < Upper(char(y)); };
  if (std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), upper))
    return true;
  if (std::lexicographical_compare(b.begin(), b.end(), a.begin(), a.end(), upper))
    return false;
  return a < b;
}

} // namespace

DirectorySearch SearchDirectory(const std::string &folder, const std::string &pattern,
                                const DirectoryReader &reader) {
  DirectoryEntries entries = reader(folder);
  DirectorySearch search;
  for (std::string &name : entries.names)
    if (name != "." && name != ".." && MatchesPattern(name, pattern))
      search.names.push_back(std::move(name));
  if (search.names.empty())
    return search;
  std::sort(search.names.begin(), search.names.end(), NameBefore);
  search.started = true;
  search.error = entries.error;
  return search;
}

} // namespace reelcraft
