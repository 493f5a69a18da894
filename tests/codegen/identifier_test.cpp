#include "codegen/identifier.h"

#include <gtest/gtest.h>

namespace {

TEST(Identifier, FromFileNames) {
  const std::pair<const char*, const char*> cases[] = {
      {"Data.bin", "data_bin"},
      {"8bit-Font.PNG", "_8bit_font_png"},
      {"_x.dat", "__x_dat"},
      {"my file (1).txt", "my_file__1__txt"},
      {"1.bin", "_1_bin"},
      {"+.bin", "___bin"},
      {"LOGO.PNG", "logo_png"},
      {"Zz09", "zz09"},
      {"\xc3\xa9t\xc3\xa9.txt", "___t___txt"},  // every byte of a multi-byte character
      {"", "_"},
      {"Default", "default_"},
      {"new", "new_"},
      {"and", "and_"},
      {"co_await", "co_await_"},
      {"size_t", "size_t_"},
      {"int.", "int_"},
      {"intx", "intx"},
  };
  for (const auto& [name, identifier] : cases)
    EXPECT_EQ(MakeIdentifier(name), identifier) << name;
}

}  // namespace
