// The options that start conversions: -i, -last and -p.
#pragma once

// Handler of -i: records the path as the last input and converts it.
void HandleInputOption();

// Handler of -last: converts the last input of -i again.
void HandleLastOption();

// Handler of -p: reads the folder and the tag, then scans the folder.
void HandleScanOption();
