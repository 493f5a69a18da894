// Gives each test fresh settings and an argument vector of its own.
#pragma once

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

#include "app/settings.h"

class SettingsTest : public testing::Test {
 protected:
  void SetUp() override { g_settings = Settings{}; }
  void TearDown() override { g_settings = Settings{}; }

  // Makes the arguments (after a program name) the command line, with
  // argIndex on the first of them.
  void SetArguments(std::initializer_list<const char*> arguments) {
    storage_.assign(1, "hexloom");
    for (const char* argument : arguments)
      storage_.emplace_back(argument);
    pointers_.clear();
    for (std::string& argument : storage_)
      pointers_.push_back(argument.data());
    pointers_.push_back(nullptr);
    g_settings.argValues = pointers_.data();
    g_settings.argCount = static_cast<int32_t>(storage_.size());
    g_settings.argIndex = 1;
  }

 private:
  std::vector<std::string> storage_;
  std::vector<char*> pointers_;
};
