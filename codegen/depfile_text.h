// The dependency file (-depfile): Make-syntax rules that Ninja and GNU Make
// both read back.
#pragma once

#include <string>
#include <string_view>
#include <vector>

// True when the path can be written so that Ninja 1.11 and GNU Make 4.3 read
// it back alike: no control byte, none of " & ' * ; < > ? ^ ` | = %, no
// leading "~", no "[...]", no "a(b)" form, no ":" or backslash at its end and
// no backslash before "#", ":" or "$", which the two read otherwise.
bool CanWriteDepfilePath(std::string_view path);

// Returns the path escaped for both: "\ ", "\#", "\:" and "$$", with the
// backslashes just before a space doubled. The path must pass
// CanWriteDepfilePath.
std::string EscapeDepfilePath(std::string_view path);

// Returns the file: the targets on one line, then the prerequisites one a
// line, then an empty rule of each prerequisite (as gcc -MP writes) so that
// Make doesn't stop at a removed one; empty when there are no targets.
std::string BuildDepfileText(const std::vector<std::string>& targets, const std::vector<std::string>& prerequisites);
