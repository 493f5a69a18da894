// Random command lines never crash the program: every run ends with 0 or 255 and nothing on standard error (where the
// sanitizers report). Each run is sandboxed: it can write nowhere but its own folder.
#include <gtest/gtest.h>

#include <random>

#include "support/run.h"
#include "support/temp_folder.h"

namespace {

const char* const kNames[] = {
    "-o",        "-i",          "-last",       "-p",       "-test",     "-cpp",        "-cxx",        "-md5",
    "-sha1",     "-sha256",     "-sha512",     "-cpp_md5", "-cpp_sha1", "-cpp_sha256", "-cpp_sha512", "-cxx_md5",
    "-cxx_sha1", "-cxx_sha256", "-cxx_sha512", "-stl",     "-dyn",      "-nons",       "-dec",        "-bw",
    "-bwns",     "-str",        "-size_t",     "-s32",     "-u32",      "-8",          "-16",         "-32",
    "-64",       "-128",        "-256",        "-512",     "-1024",     "-t0",         "-t1",         "-t2",
    "-t3",       "-t4",         "-I",          "-X"};
// Values that stay inside the run's folder (no absolute paths, no ".."), and a row that the usage lists but no
// argument selects.
const char* const kValues[] = {
    "",     "a.bin", "sub",          "sub/b.dat",    "missing",   "out",
    ".",    "sub/",  "%s%n%x",       "\xff\xfe\x80", "a.bin.cpp", ".bin",
    ".BIN", "c",     "\xc3\xa9.txt", "with space",   "new\nline", "-md5, -sha1, -sha256, -sha512",
};

// An option name (half the time), a value, a long name, or up to 12 random bytes without a NUL (it would end the
// argument), '/' or '.' (they could lead out of the folder).
std::string RandomArgument(std::mt19937& random) {
  const unsigned kind = random() % 6;
  if (kind < 3)
    return kNames[random() % std::size(kNames)];
  if (kind == 3)
    return kValues[random() % std::size(kValues)];
  if (kind == 4)
    return std::string(1000 + random() % 5000, static_cast<char>('a' + random() % 26));
  std::string bytes(1 + random() % 12, '\0');
  std::ranges::generate(bytes, [&] {
    const char c = static_cast<char>(1 + random() % 255);
    return c == '/' || c == '.' ? '_' : c;
  });
  return bytes;
}

TEST(Fuzz, RandomArgumentVectors) {
  std::mt19937 random(20261207);
  for (int round = 0; round < 300; ++round) {
    ScratchFolder folder;
    std::filesystem::create_directory(folder / "sub");
    std::filesystem::create_directory(folder / "out");
    Spill(folder / "a.bin", std::string(300, 'a')), Spill(folder / "sub/b.dat", "b"), Spill(folder / "c", "");
    std::vector<std::string> arguments(random() % 12);
    for (std::string& argument : arguments)
      argument = RandomArgument(random);
    const RunResult run = RunBinary(arguments, {.folder = folder.path()});
    ASSERT_TRUE(run.exitCode == 0 || run.exitCode == kFailed) << "round " << round << " exit " << run.exitCode;
    ASSERT_EQ(run.errors, "") << "round " << round;
  }
}

}  // namespace
