// The command-line vocabulary: one table drives option lookup and the
// usage list.
#pragma once

#include <cstddef>
#include <cstdint>

// Reads its option and values at g_settings.argIndex and leaves argIndex on
// the first argument that it did not consume.
using OptionHandler = void (*)();

struct OptionEntry {
  const char* name;       // null for a separator row
  const char* help;       // null for a row that is not listed
  OptionHandler handler;  // null for a row that is listed only
};

constexpr size_t kOptionCount = 59;
extern const OptionEntry OptionTable[kOptionCount];

// Returns the first selectable row whose name equals the argument, or null.
const OptionEntry* FindOption(const char* argument);

// True when the argument at `index` can name a folder: an empty value counts
// as a missing one, so that an unset variable in a script never makes the
// root folder the target.
bool FolderValueAt(int32_t index);

// The handler of -q: from now on only errors are printed. The driver runs it
// before the banner when -q comes first.
void SetQuiet();

// Records a command-line error: exitCode -1 and the message in colour 14.
void ReportOptionError(const char* message);
