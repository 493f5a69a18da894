#include <exception>

#include "app/driver.h"
#include "convert/report.h"

int main(int argc, char** argv) {
  try {
    return RunHexloom(argc, argv);
  } catch (const std::exception& error) {
    // Nothing may escape main: report what went wrong instead of aborting.
    ReportError("Unexpected failure: ", error.what());
  } catch (...) {
    ReportError("Unexpected failure", "");
  }
  return -1;
}
