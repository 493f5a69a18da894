#include "codegen/identifier.h"

#include <gtest/gtest.h>

namespace {

TEST(Identifier, FromFileNames) {
  const std::pair<const char*, const char*> cases[] = {
      {"Data.bin", "data_bin"}, {"8bit-Font.PNG", "_8bit_font_png"}, {"_x.dat", "__x_dat"}, {"1.bin", "_1_bin"},
      {"my file (1).txt", "my_file__1__txt"}, {"+.bin", "___bin"}, {"LOGO.PNG", "logo_png"}, {"Zz09", "zz09"},
      {"Abc", "abc"}, {"\xc3\xa9t\xc3\xa9.txt", "___t___txt"},  // every byte of a multi-byte character
      {"", "_"}, {"Default", "default_"}, {"new", "new_"}, {"and", "and_"}, {"co_await", "co_await_"},
      {"size_t", "size_t_"}, {"int.", "int_"}, {"intx", "intx"},
  };
  for (const auto& [name, identifier] : cases)
    EXPECT_EQ(MakeIdentifier(name), identifier) << name;
}

TEST(Identifier, Namespaces) {
  const std::pair<const char*, bool> cases[] = {
      {"Data", true},   {"a::b", true},   {"_x9::Y_::z", true}, {"Az0::aZ9", true},     {"sizes", true},
      {"", false},      {"0a", false},    {"a::", false},       {"::a", false},   {"a:::b", false},
      {"a:b", false},   {"a::::b", false}, {"a-b", false},      {"a b", false},   {"a::9", false},
      {"int", false},   {"a::class", false}, {"size_t::a", false}, {"\xc3\xa9", false},
  };
  for (const auto& [name, valid] : cases)
    EXPECT_EQ(IsValidNamespace(name), valid) << name;
}

}  // namespace
