// Captures what the console log writes while a piece of code runs.
#pragma once

#include <functional>
#include <string>

#include "platform/console_log.h"

inline std::string CaptureConsole(const std::function<void()>& body) {
  std::string text;
  ConsoleLog::Instance().CaptureInto(&text);
  body();
  ConsoleLog::Instance().CaptureInto(nullptr);
  return text;
}
