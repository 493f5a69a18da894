// The Windows console: text goes straight to the console with _cprintf, so
// it bypasses a redirected standard output, and colours are console text
// attributes of the standard output handle.
#include "platform/console_log.h"

#include <conio.h>
#include <windows.h>

namespace {

HANDLE g_console = INVALID_HANDLE_VALUE;

}  // namespace

void ConsoleOpen() {
  g_console = GetStdHandle(STD_OUTPUT_HANDLE);
}

void ConsoleWrite(const char* text, size_t) {
  _cprintf("%s", text);
}

void ConsoleSetAttribute(uint16_t attribute) {
  SetConsoleTextAttribute(g_console, attribute);
}
