#include "convert/convert_file.h"

#include <gtest/gtest.h>

namespace {

TEST(ConvertFile, Identifiers) {
  EXPECT_EQ(MakeIdentifier("Data.bin"), "data_bin");
  EXPECT_EQ(MakeIdentifier("8bit-Font.PNG"), "_8bit_font_png");
  EXPECT_EQ(MakeIdentifier("_x.dat"), "__x_dat");
  EXPECT_EQ(MakeIdentifier("my file (1).txt"), "my_file__1__txt");
  EXPECT_EQ(MakeIdentifier("1.bin"), "_1_bin");
  EXPECT_EQ(MakeIdentifier("+.bin"), "___bin");
  EXPECT_EQ(MakeIdentifier("LOGO.PNG"), MakeIdentifier("logo.png"));
  // Every byte of a multi-byte character becomes one "_".
  EXPECT_EQ(MakeIdentifier("\xc3\xa9t\xc3\xa9.txt"), "___t___txt");
  EXPECT_EQ(MakeIdentifier(""), "_");
}

TEST(ConvertFile, FileNames) {
  EXPECT_STREQ(FileNameOf("data.bin"), "data.bin");
  EXPECT_STREQ(FileNameOf("assets/data.bin"), "data.bin");
  EXPECT_STREQ(FileNameOf("C:\\Data\\data.bin"), "data.bin");
  EXPECT_STREQ(FileNameOf("\\data.bin"), "data.bin");
  EXPECT_STREQ(FileNameOf("a\\b/c.bin"), "c.bin");
  EXPECT_STREQ(FileNameOf("folder/"), "");
}

}  // namespace
