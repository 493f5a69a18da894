// Captures what the console log writes while a piece of code runs.
#pragma once

#include <cstdio>
#include <functional>
#include <string>
#include <unistd.h>

#include "platform/console_log.h"

inline std::string CaptureConsole(const std::function<void()>& body) {
  ConsoleLog::Instance();  // opened before standard output is redirected
  std::FILE* sink = std::tmpfile();
  int saved = dup(STDOUT_FILENO);
  dup2(fileno(sink), STDOUT_FILENO);
  body();
  dup2(saved, STDOUT_FILENO);
  close(saved);
  std::string text;
  std::rewind(sink);
  char chunk[4096];
  size_t got;
  while ((got = std::fread(chunk, 1, sizeof chunk, sink)) > 0)
    text.append(chunk, got);
  std::fclose(sink);
  return text;
}
