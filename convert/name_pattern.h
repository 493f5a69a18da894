// Shell wildcards on one name, as -exclude takes them.
#pragma once

#include <string>
#include <string_view>
#include <vector>

// True when the name matches the pattern as POSIX fnmatch() without flags
// matches it in the C locale: "*" any bytes, "?" one byte, "[...]" one byte
// of a set ("!" or "^" first negates it; ranges, [:classes:]), "\" takes the
// next byte as it is. A "[" without its "]" is itself; a pattern ending in a
// lone "\" matches nothing.
bool MatchesPattern(std::string_view pattern, std::string_view name);

// True when the name matches any of the patterns.
bool MatchesAnyPattern(const std::vector<std::string>& patterns, std::string_view name);
