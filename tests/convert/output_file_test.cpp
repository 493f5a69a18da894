#include "convert/output_file.h"

#include <cstring>

#include "convert/convert_file.h"
#include "support/settings_fixture.h"
#include "support/temp_folder.h"

namespace {

class OutputNamingTest : public SettingsTest {
 protected:
  // Paths are written with "/" and tested with the platform's separator.
  std::string Path(const char* input, const char* extension) {
    input_ = Native(input);
    g_settings.currentFileName = FileNameOf(input_.c_str());
    return BuildOutputPath(input_.c_str(), extension);
  }
  void SetFolder(const char* folder) {
    folder_ = Native(folder);
    g_settings.outputFolder = folder_.c_str();
  }
  std::string input_, folder_;
  char tag_[16] = {};
  void SetTag(const char* tag) {
    std::strcpy(tag_, tag);
    g_settings.scanTag = tag_;
  }
};

TEST_F(OutputNamingTest, NamingTable) {
  EXPECT_EQ(Path("/data/Logo.PNG", ".cpp"), Native("/data/Logo.PNG.cpp"));
  EXPECT_EQ(Path("/data/Logo.PNG", ".h"), Native("/data/Logo.PNG.h"));
  EXPECT_EQ(Path("/data/Logo.PNG", ".md5"), Native("/data/Logo.PNG.md5"));
  EXPECT_EQ(Path("Logo.PNG", ".cxx"), Native("Logo.PNG.cxx"));
  SetFolder("/out");
  EXPECT_EQ(Path("/data/Logo.PNG", ".cpp"), Native("/out/Logo.PNG.cpp"));
  SetFolder("/out/");
  EXPECT_EQ(Path("/data/Logo.PNG", ".h"), Native("/out//Logo.PNG.h"));
  g_settings.outputFolder = nullptr;
  SetTag(".png");
  EXPECT_EQ(Path("/data/Sub/Logo.PNG", ".cpp"), Native("/data/Sub/logo.cpp"));
  EXPECT_EQ(Path("/data/Sub/Logo.PNG", ".h"), Native("/data/Sub/logo.h"));
  SetFolder("/out");
  EXPECT_EQ(Path("/data/Sub/Logo.PNG", ".cpp"), Native("/out/logo.cpp"));
  g_settings.outputFolder = nullptr;
  SetTag(".bin");
  EXPECT_EQ(Path("/data/My.Bin.Old.bin", ".sha1"), Native("/data/my.old.sha1"));
}

TEST_F(OutputNamingTest, ScanTagRemoval) {
  EXPECT_EQ(StripScanTag(Native("/Data/X.BIN")), Native("/Data/X.BIN"));  // no tag set
  SetTag(".bin");
  EXPECT_EQ(StripScanTag(Native("/d/Data.bin.bin")), Native("/d/data"));
  EXPECT_EQ(StripScanTag(Native("/d/.bin")), Native("/d/"));
  EXPECT_EQ(StripScanTag(Native("/d/data.bin.old")), Native("/d/data.old"));
  EXPECT_EQ(StripScanTag(Native("/Dir.BIN/X.Bin")), Native("/Dir.BIN/x"));
  EXPECT_EQ(StripScanTag(Native("x.b.binin")), Native("x.bin"));  // an occurrence formed by joining is left
  // Only the platform's own separator splits an output path.
  const std::string foreign(1, kPathSeparator == '/' ? '\\' : '/');
  EXPECT_EQ(StripScanTag("Dir" + foreign + "Name.bin"), "dir" + foreign + "name");
  SetTag("");
  EXPECT_EQ(StripScanTag(Native("/D/Logo.PNG")), Native("/D/logo.png"));
  SetTag("ss");
  EXPECT_EQ(StripScanTag(Native("/x/sssss")), Native("/x/s"));
}

}  // namespace
