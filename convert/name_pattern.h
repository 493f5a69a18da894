// Shell wildcards on one name, as -exclude takes them.
#pragma once

#include <string>
#include <string_view>
#include <vector>

// True when the name matches the pattern as glibc's fnmatch() without flags
// matches it in the C locale: "*" any bytes, "?" one byte, "[...]" one byte
// of a set ("!" or "^" first negates it; ranges, [:classes:], [.x.] and
// [=x=]), "\" takes the next byte as it is. A "[" without its "]" is itself;
// a lone "\" at the end matches nothing. An unknown class or a collating
// symbol of more than one byte fails the set for a byte that the members
// before it don't take.
bool MatchesPattern(std::string_view pattern, std::string_view name);

// True when the name matches any of the patterns.
bool MatchesAnyPattern(const std::vector<std::string>& patterns, std::string_view name);
