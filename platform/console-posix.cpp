// The console is standard output, written straight to the descriptor so
// that nothing waits in a stdio buffer; colours are ANSI escape codes, sent
// only to a terminal.
#include "platform/console_log.h"

#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <string_view>

namespace {

bool g_colours = false;

const char* AnsiCode(uint16_t attribute) {
  switch (attribute & 0x0F) {
    case 0: return "\x1b[30m";
    case 1: return "\x1b[34m";
    case 2: return "\x1b[32m";
    case 3: return "\x1b[36m";
    case 4: return "\x1b[31m";
    case 5: return "\x1b[35m";
    case 6: return "\x1b[33m";
    case 7: return "\x1b[0m";
    case 8: return "\x1b[90m";
    case 9: return "\x1b[94m";
    case 10: return "\x1b[92m";
    case 11: return "\x1b[96m";
    case 12: return "\x1b[91m";
    case 13: return "\x1b[95m";
    case 14: return "\x1b[93m";
    default: return "\x1b[97m";
  }
}

}  // namespace

void ConsoleOpen() {
  // A reader that goes away must not end the run: writes then fail with
  // EPIPE, which is ignored like every other console write error.
  signal(SIGPIPE, SIG_IGN);
  g_colours = isatty(STDOUT_FILENO) == 1;
}

void ConsoleWrite(const char* text, size_t length) {
  while (length > 0) {
    ssize_t written = write(STDOUT_FILENO, text, length);
    if (written < 0 && errno == EINTR)
      continue;
    if (written <= 0)
      return;
    text += written;
    length -= static_cast<size_t>(written);
  }
}

void ConsoleSetAttribute(uint16_t attribute) {
  if (!g_colours)
    return;
  const std::string_view code = AnsiCode(attribute);
  ConsoleWrite(code.data(), code.size());
}
