#include <cstdlib>

#include "app/driver.h"

int main(int argc, char** argv) {
  return RunCatchingAll([&] { return RunHexloom(argc, argv, std::getenv("HEXLOOM_JOBS")); });
}
