#include "convert/report.h"

#include <string>

#include "platform/console_log.h"

bool ReportError(std::string_view description, std::string_view path) {
  ConsoleLog::Instance() << ConsoleColour(Colour::Error) << " [ERROR] " << std::string(description) << std::string(path)
                         << "\n"
                         << "\n";
  return false;
}
