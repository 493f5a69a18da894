// A run of conversions against the in-memory file system, with the console captured.
#pragma once

#include <gtest/gtest.h>

#include "convert/conversion.h"
#include "platform/path.h"
#include "support/capture.h"
#include "support/memory_file_system.h"
#include "support/temp_folder.h"

class MemoryRunTest : public testing::Test {
 protected:
  MemoryFileSystem fs;
  RunState run{&fs};
  ConversionSettings settings;
};
