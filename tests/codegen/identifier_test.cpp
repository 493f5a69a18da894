#include "codegen/identifier.h"

#include <gtest/gtest.h>

namespace {

TEST(Identifier, FromFileNamesAndNamespaces) {
  const std::pair<const char*, const char*> names[] = {
      {"Data.bin", "data_bin"},
      {"8bit-Font.PNG", "_8bit_font_png"},
      {"_x.dat", "__x_dat"},
      {"ZAz09", "zaz09"},
      {"\xc3\xa9t\xc3\xa9.txt", "___t___txt"},  // each byte of a character
      {"", "_"},
      {"Default", "default_"},
      {"and", "and_"},
      {"co_await", "co_await_"},
      {"size_t", "size_t_"},
      {"int.", "int_"},
      {"intx", "intx"},
  };
  for (const auto& [name, identifier] : names)
    EXPECT_EQ(MakeIdentifier(name), identifier) << name;
  const std::pair<const char*, bool> namespaces[] = {
      {"_x9::Y_::z", true}, {"Az0::aZ9", true}, {"sizes", true},     {"", false},          {"0a", false},
      {"a::", false},       {"::a", false},     {"a:::b", false},    {"a:b", false},       {"a::::b", false},
      {"a-b", false},       {"a::9", false},    {"a::class", false}, {"size_t::a", false}, {"\xc3\xa9", false},
  };
  for (const auto& [name, valid] : namespaces)
    EXPECT_EQ(IsValidNamespace(name), valid) << name;
}

}  // namespace
