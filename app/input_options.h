// The options that start conversions: -i, -last and -p.
#pragma once

#include "app/options.h"

// Handler of -i: records the path as the last input and converts it.
OptionResult HandleInputOption(const ArgumentCursor& args, Invocation& run);

// Handler of -last: converts the last input of -i again.
OptionResult HandleLastOption(const ArgumentCursor& args, Invocation& run);

// Handler of -p: reads the folder and the tag, then scans the folder.
OptionResult HandleScanOption(const ArgumentCursor& args, Invocation& run);
