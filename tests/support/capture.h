// Captures what the console log writes while a piece of code runs, and leaves the log loud again (-q makes it quiet).
#pragma once

#include <functional>
#include <string>

#include "platform/console_log.h"

inline std::string CaptureConsole(const std::function<void()>& body) {
  std::string text;
  ConsoleLog::Instance().CaptureInto(&text);
  body();
  ConsoleLog::Instance().CaptureInto(nullptr);
  ConsoleLog::Instance().SetQuiet(false);
  return text;
}
