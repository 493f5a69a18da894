// The command-line vocabulary: one table drives option lookup and the
// usage list.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "app/settings.h"

// The command line being read: its arguments and the one that the current
// option starts at.
struct ArgumentCursor {
  int32_t count = 0;
  char** values = nullptr;
  int32_t index = 1;

  // Returns the argument `ahead` places after the current one, or null past
  // the end of the command line.
  const char* At(int32_t ahead) const { return index + ahead < count ? values[index + ahead] : nullptr; }
};

// What a handler did with the arguments from the cursor on.
struct OptionResult {
  int32_t consumed = 1;           // arguments read, the option's own included
  bool conversionFailed = false;  // a conversion failed and has already said why
  bool inputRefused = false;      // an input was refused and has said why: the run goes on, and ends with -1
  std::string error{};            // a command-line mistake for the driver to print; empty when none
};

// Returns the result of a handler that met a command-line mistake.
OptionResult OptionError(std::string message);

// Reads its option at the cursor and the values after it, works on the
// invocation, and returns what it consumed or the mistake it met.
using OptionHandler = OptionResult (*)(const ArgumentCursor& args, Invocation& run);

struct OptionEntry {
  const char* name;       // null for a separator row
  const char* help;       // null for a row that is not listed
  OptionHandler handler;  // null for a row that is listed only
};

// Returns every row of the option table, in the order of the usage list.
std::span<const OptionEntry> OptionRows();

// Returns the first selectable row whose name equals the argument, or null.
const OptionEntry* FindOption(const char* argument);

// True when an option's value is there and not empty: an empty folder, say,
// is refused, so that an unset variable in a script never makes the root
// folder the target.
bool IsGiven(const char* value);

// The handler of -q: from now on only errors are printed. The driver runs it
// before the banner when -q comes first.
OptionResult SetQuiet(const ArgumentCursor& args, Invocation& run);
