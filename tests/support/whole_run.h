// Whole runs of hexloom as rows of a table: what fills the folder, the arguments, what the run prints and its exit
// code. Each end-to-end file instantiates WholeRun with its rows; the one test is in command_line_test.cpp.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

struct RunCase {
  const char* name;
  std::string setup;  // shell commands that fill the folder d/, run in it
  std::vector<std::string> arguments;
  std::string printed;  // everything, banner included
  int exitCode = 0;
  bool terminal = false;
};

class WholeRun : public testing::TestWithParam<RunCase> {};
