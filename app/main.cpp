#include <cstdlib>
#include <exception>

#include "app/driver.h"
#include "platform/console_log.h"

int main(int argc, char** argv) {
  try {
    return RunHexloom(argc, argv, std::getenv("HEXLOOM_JOBS"));
  } catch (const std::exception& error) {
    // Nothing may escape main: report what went wrong instead of aborting.
    ConsoleLog::Instance() << ConsoleColour(Colour::Error) << " [ERROR] "
                           << "Unexpected failure: " << error.what() << "\n"
                           << "\n";
  } catch (...) {
    ConsoleLog::Instance() << ConsoleColour(Colour::Error) << " [ERROR] "
                           << "Unexpected failure"
                           << "\n"
                           << "\n";
  }
  return -1;
}
