// What the options do to a run's settings, read left to right as the driver reads them.
#include "app/options.h"

#include <gtest/gtest.h>

#include "app/driver.h"
#include "platform/gzip.h"
#include "support/capture.h"

namespace {

class OptionsTest : public testing::Test {
 protected:
  // Reads the arguments (after a program name) into this test's run; returns the exit code.
  int RunAll(const std::vector<const char*>& arguments) {
    // The handlers never write to an argument: these are string literals.
    pointers_.assign(1, const_cast<char*>("hexloom"));
    for (const char* argument : arguments)
      pointers_.push_back(const_cast<char*>(argument));
    ArgumentCursor args{.count = static_cast<int32_t>(pointers_.size()), .values = pointers_.data()};
    return RunOptions(args, run);
  }
  Invocation run{&RealFileSystem()};
  std::vector<char*> pointers_;
};

TEST_F(OptionsTest, StyleOptionsSetTheirField) {
  const std::pair<std::vector<const char*>, SourceStyle> cases[] = {
      {{"-stl", "-dyn", "-nons"}, {.dynamicData = true, .noNamespace = true, .useVector = true}},
      {{"-bw", "-bwns", "-str"}, {.braceWrap = true, .braceWrapNamespace = true, .stringLiteral = true}},
      {{"-dec", "-dec", "-s32", "-1024", "-t4"},
       {.rowWidth = 1024, .rowWidthChosen = true, .tabSize = 4, .hexOutput = false, .sizeType = SizeType::Int32}},
      {{"-8", "-t0", "-u32"}, {.rowWidth = 8, .rowWidthChosen = true, .tabSize = 0, .sizeType = SizeType::UInt32}},
      {{"-512", "-t3", "-s32", "-size_t"}, {.rowWidth = 512, .rowWidthChosen = true, .tabSize = 3}},
      {{"-ns", "ui::assets", "-ns", "Data2"}, {.nameSpace = "Data2"}},
      {{"-align", "1", "-align", "4096"}, {.alignment = 4096}},
  };
  for (const auto& [arguments, style] : cases) {
    run.settings.conversion.style = SourceStyle{};
    EXPECT_EQ(RunAll(arguments), 0);
    EXPECT_EQ(run.settings.conversion.style, style) << arguments[0];
  }
}

// Each format option sets the digest too: a later -cxx drops the digest of an earlier -cpp_sha256.
TEST_F(OptionsTest, FormatOptionsSetTheFormatAndTheContentDigest) {
  using Choice = std::pair<OutputFormat, std::optional<DigestKind>>;
  const std::pair<std::vector<const char*>, Choice> cases[] = {
      {{"-cpp_sha256", "-cxx"}, {OutputFormat::Cxx, std::nullopt}},
      {{"-md5", "-cpp"}, {OutputFormat::Cpp, std::nullopt}},
      {{"-cpp_md5", "-sha512"}, {OutputFormat::Checksum, DigestKind::Sha512}},
      {{"-sha256"}, {OutputFormat::Checksum, DigestKind::Sha256}},
      {{"-cxx_sha1"}, {OutputFormat::Cxx, DigestKind::Sha1}},
      {{"-cpp_sha512"}, {OutputFormat::Cpp, DigestKind::Sha512}},
  };
  for (const auto& [arguments, choice] : cases) {
    EXPECT_EQ(RunAll(arguments), 0);
    EXPECT_EQ(Choice(run.settings.conversion.format, run.settings.conversion.contentDigest), choice) << arguments[0];
  }
}

// A mistake on the command line stops the run, the options after it unread, changes no setting and says what to give
// instead. An unknown argument is named with its place: option names are case-sensitive, and help is no option after
// another. A catalogue name is a namespace name (IsValidNamespace) that doesn't nest.
TEST_F(OptionsTest, MistakesStopTheRunAreNamedAndKeepTheSettings) {
  const std::string align = "Invalid alignment (a power of two from 1 to 4096): -align ",
                    scan = "Parse folder parameters are missing: -p c:\\yourFolder tag",
                    output = "Output path is missing: -o C:\\Data", listedOnly = "-md5, -sha1, -sha256, -sha512";
  const std::pair<std::vector<const char*>, std::string> refused[] = {
      {{"-ns"}, "Namespace is missing: -ns name"},
      {{"-ns", "", "-nons"}, "Namespace is missing: -ns name"},
      {{"-ns", "ui::class", "-nons"}, "Invalid namespace (C++ identifiers joined by ::, no keyword): -ns ui::class"},
      {{"-index"}, "Catalogue name is missing: -index name"},
      {{"-index", "a::b"}, "Invalid catalogue name (a C++ identifier, no keyword): -index a::b"},
      {{"-prefix"}, "Catalogue prefix is missing: -prefix folder"},
      {{"-prefix", "a//b", "-nons"},
       "Invalid catalogue prefix (folder names joined by /, no . or .. part): -prefix a//b"},
      {{"-exclude"}, "Exclusion pattern is missing: -exclude pattern"},
      {{"-depfile", ""}, "Dependency file path is missing: -depfile build/data.d"},
      {{"-last", "-i", "never"}, "No Input file: -i yourFile.bin"},
      {{"-MD5"}, "Invalid Parameter (1) : -MD5"},
      {{"-cpp", listedOnly.c_str()}, "Invalid Parameter (2) : " + listedOnly},
      {{"-cpp", "--help"}, "Invalid Parameter (2) : --help"},
      {{"-test", "-zz", "-test", "-i", "missing.bin"}, "**** TEST ENABLED ****\n\nInvalid Parameter (2) : -zz"},
      {{"-o"}, output},
      {{"-o", "", "-i", "x"}, output},  // an unset variable in a script never makes the root folder the target
      {{"-p", "", ".bin"}, scan},
      {{"-p", "d"}, scan},
      {{"-i"}, "Input file is missing: -i yourFile.bin"}};
  for (const auto& [arguments, message] : refused)
    EXPECT_EQ(CaptureConsole([&, &arguments = arguments] { EXPECT_EQ(RunAll(arguments), -1); }), message + "\n\n");
  for (const char* value : {"0", "3", "8192", "64x", "", "-64", "00064"})
    EXPECT_EQ(CaptureConsole([&] { EXPECT_EQ(RunAll({"-align", value}), -1); }), align + value + "\n\n");
  EXPECT_EQ(run.settings.conversion.style, SourceStyle{});
  EXPECT_FALSE(run.settings.conversion.intoCatalogue);
  EXPECT_EQ(run.settings.conversion.cataloguePrefix, "");
  EXPECT_EQ(run.settings.depfilePath, nullptr);
}

// A value is the next argument even where it looks like an option; -index opens its catalogue with the settings in
// force.
TEST_F(OptionsTest, ValuesAreReadLeftToRight) {
  const ConversionSettings& settings = run.settings.conversion;
  EXPECT_EQ(RunAll({"-o", "out dir", "-o", "-i", "-prefix", "a\\b", "-exclude", "*.o", "-exclude", "-i"}), 0);
  EXPECT_EQ(settings.outputFolder, "-i");
  EXPECT_EQ(settings.cataloguePrefix, "a/b");
  EXPECT_EQ(settings.excludePatterns, std::vector<std::string>({"*.o", "-i"}));
  EXPECT_EQ(RunAll({"-exclude", "", "-exclude", ".*", "-prefix", "", "-ns", "ui", "-index", "assets"}), 0);
  EXPECT_EQ(settings.excludePatterns, std::vector<std::string>({".*"}));
  EXPECT_EQ(settings.cataloguePrefix, "");
  EXPECT_TRUE(settings.intoCatalogue);
  const Catalogue& opened = run.state.catalogues.back();
  EXPECT_EQ(std::tuple(opened.name, opened.style.nameSpace), std::tuple("assets", "ui"));
}

// A build without zlib says so rather than write catalogues it can't compress.
TEST_F(OptionsTest, CompressionIsReadLeftToRight) {
  const std::string said = CaptureConsole([&] { EXPECT_EQ(RunAll({"-compress"}), GzipAvailable() ? 0 : -1); });
  EXPECT_EQ(said.find("Compression is not in this build") == std::string::npos, GzipAvailable());
  EXPECT_EQ(run.settings.conversion.compress, GzipAvailable());
  EXPECT_EQ(RunAll({"-compress", "-nocompress"}) == 0 && !run.settings.conversion.compress, GzipAvailable());
}

TEST(RunCatchingAll, ReportsWhatEscapes) {
  EXPECT_EQ(RunCatchingAll([] { return 7; }), 7);
  EXPECT_EQ(CaptureConsole([] { EXPECT_EQ(RunCatchingAll([]() -> int { throw std::runtime_error("lost"); }), -1); }),
            " [ERROR] Unexpected failure: lost\n\n");
  EXPECT_EQ(CaptureConsole([] { EXPECT_EQ(RunCatchingAll([]() -> int { throw 1; }), -1); }),
            " [ERROR] Unexpected failure\n\n");
}

// A refused key is an error for the run, which still goes on with the options after it; -q keeps only the errors.
TEST_F(OptionsTest, ARefusedCataloguePathLetsTheRunGoOnQuietly) {
  EXPECT_EQ(CaptureConsole([&] {
              EXPECT_EQ(RunAll({"-q", "-index", "c", "-i", "../x", "-last", "-i", "missing"}), -1);
              PrintUsage(run.settings);
            }),
            " [ERROR] Catalogue path must stay below the current folder (-prefix names it): ../x\n\n"
            " [ERROR] Catalogue path must stay below the current folder (-prefix names it): ../x\n\n"
            " [ERROR] Can't open file: missing\n\n");
}

TEST(ScanThreads, AWholeNumberFromOneTo256) {
  const std::pair<const char*, std::optional<size_t>> cases[] = {{"1", 1},  {"256", 256}, {"007", 7}, {"257", {}},
                                                                 {"0", {}}, {"", {}},     {"2x", {}}, {"-1", {}}};
  for (const auto& [value, threads] : cases)
    EXPECT_EQ(ParseScanThreads(value), threads) << value;
  EXPECT_FALSE(ParseScanThreads("99999999999999999999"));  // refused, not wrapped round
  EXPECT_GE(DefaultScanThreads(), 1u);
}

TEST(ScanThreads, AValueThatIsNotOneIsNamedInAWarning) {
  char name[] = "hexloom", quiet[] = "-q", test[] = "-test";
  char* arguments[] = {name, quiet, test, nullptr};
  EXPECT_EQ(CaptureConsole([&] { EXPECT_EQ(RunHexloom(3, arguments, "-1\x1b"), 0); }),
            "Ignored HEXLOOM_JOBS=-1\\033 (not a whole number from 1 to 256): one scan thread per processor\n"
            "**** TEST ENABLED ****\n\n");
}

TEST_F(OptionsTest, ScanTagIsALowercasedCopyThatAnInputClears) {
  CaptureConsole([&] { EXPECT_EQ(RunAll({"-test", "-p", "no such folder", ".PnG"}), -1); });
  EXPECT_TRUE(run.settings.conversion.testMode);
  EXPECT_EQ(run.settings.conversion.scanTag, ".png");
  EXPECT_STREQ(pointers_[4], ".PnG");
  CaptureConsole([&] { RunAll({"-i", "no such file"}); });
  EXPECT_FALSE(run.settings.conversion.scanTag);
  EXPECT_STREQ(run.settings.lastInputPath, "no such file");
}

}  // namespace
