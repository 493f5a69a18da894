// Path separators of the platform.
#pragma once

// The separator that the program puts between a folder and a name, and the
// only one it looks for when it splits an output path.
extern const char kPathSeparator;
