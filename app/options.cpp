#include "app/options.h"

#include <cstdlib>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "app/input_options.h"
#include "codegen/identifier.h"
#include "convert/catalogue.h"
#include "platform/console_log.h"
#include "platform/gzip.h"

OptionResult OptionError(std::string message) {
  return {.consumed = 0, .error = std::move(message)};
}

bool IsGiven(const char* value) {
  return value && value[0] != '\0';
}

OptionResult SetQuiet(const ArgumentCursor&, Invocation& run) {
  run.settings.quiet = true;
  ConsoleLog::Instance().SetQuiet(true);
  return {};
}

namespace {

// Every format option sets both values, so that "-cpp_sha256 -cxx" makes a
// .cxx of the file's own bytes.
template <OutputFormat Format>
OptionResult SelectFormat(const ArgumentCursor&, Invocation& run) {
  run.settings.conversion.format = Format;
  run.settings.conversion.contentDigest.reset();
  return {};
}

template <OutputFormat Format, DigestKind Digest>
OptionResult SelectDigestFormat(const ArgumentCursor&, Invocation& run) {
  run.settings.conversion.format = Format;
  run.settings.conversion.contentDigest = Digest;
  return {};
}

// Sets one field of the style; the switches only ever turn one way within a
// run.
template <auto Field, auto Value>
OptionResult SetStyle(const ArgumentCursor&, Invocation& run) {
  run.settings.conversion.style.*Field = Value;
  return {};
}

// -compress: the catalogue entries added from here on are stored as gzip
// when that pays.
OptionResult EnableCompression(const ArgumentCursor&, Invocation& run) {
  if (!GzipAvailable())
    return OptionError("Compression is not in this build (it has no zlib): -compress");
  run.settings.conversion.compress = true;
  return {};
}

OptionResult DisableCompression(const ArgumentCursor&, Invocation& run) {
  run.settings.conversion.compress = false;
  return {};
}

// The eight row widths share this handler: "-1024" gives 1024 bytes by row.
OptionResult SelectRowWidth(const ArgumentCursor& args, Invocation& run) {
  run.settings.conversion.style.rowWidth = std::atoi(args.At(0) + 1);
  run.settings.conversion.style.rowWidthChosen = true;
  return {};
}

// "-t0" to "-t4".
OptionResult SelectTabSize(const ArgumentCursor& args, Invocation& run) {
  run.settings.conversion.style.tabSize = std::atoi(args.At(0) + 2);
  return {};
}

OptionResult EnableTestMode(const ArgumentCursor&, Invocation& run) {
  run.settings.conversion.testMode = true;
  ConsoleLog::Instance() << ConsoleColour(Colour::Notice) << "**** TEST ENABLED ****"
                         << "\n"
                         << "\n";
  return {};
}

OptionResult SetOutputFolder(const ArgumentCursor& args, Invocation& run) {
  const char* folder = args.At(1);
  if (!IsGiven(folder))
    return OptionError("Output path is missing: -o C:\\Data");
  run.settings.conversion.outputFolder = folder;
  return {.consumed = 2};
}

// -depfile path: names the dependency file that the end of the run writes.
OptionResult SetDepfile(const ArgumentCursor& args, Invocation& run) {
  const char* path = args.At(1);
  if (!IsGiven(path))
    return OptionError("Dependency file path is missing: -depfile build/data.d");
  run.settings.depfilePath = path;
  return {.consumed = 2};
}

OptionResult SetNamespace(const ArgumentCursor& args, Invocation& run) {
  const char* name = args.At(1);
  if (!IsGiven(name))
    return OptionError("Namespace is missing: -ns name");
  if (!IsValidNamespace(name))
    return OptionError(std::string("Invalid namespace (C++ identifiers joined by ::, no keyword): -ns ") + name);
  run.settings.conversion.style.nameSpace = name;
  return {.consumed = 2};
}

// -index name: from here on, the C++ source of a file's bytes goes into the
// catalogue `name`.
OptionResult SetCatalogue(const ArgumentCursor& args, Invocation& run) {
  const char* value = args.At(1);
  if (!IsGiven(value))
    return OptionError("Catalogue name is missing: -index name");
  const std::string name = value;
  // The name starts every C++ name of the catalogue: one identifier.
  if (!IsValidNamespace(name) || name.find(':') != std::string::npos)
    return OptionError("Invalid catalogue name (a C++ identifier, no keyword): -index " + name);
  run.settings.conversion.intoCatalogue = true;
  OpenCatalogue(run.state, name, run.settings.conversion);
  return {.consumed = 2};
}

// -prefix P: the catalogue entries added from here on are keyed P/ and
// their path; "" turns it off.
OptionResult SetCataloguePrefix(const ArgumentCursor& args, Invocation& run) {
  const char* value = args.At(1);
  if (!value)
    return OptionError("Catalogue prefix is missing: -prefix folder");
  const std::optional<std::string> prefix = CataloguePrefixOf(value);
  if (!prefix)
    return OptionError(std::string("Invalid catalogue prefix (folder names joined by /, no . or .. part): -prefix ") +
                       value);
  run.settings.conversion.cataloguePrefix = *prefix;
  return {.consumed = 2};
}

// -exclude PATTERN: the scans started from here on pass over the names that
// match it; "" forgets every pattern given before.
OptionResult AddExclusion(const ArgumentCursor& args, Invocation& run) {
  const char* pattern = args.At(1);
  if (!pattern)
    return OptionError("Exclusion pattern is missing: -exclude pattern");
  std::vector<std::string>& patterns = run.settings.conversion.excludePatterns;
  if (pattern[0] == '\0')
    patterns.clear();
  else
    patterns.push_back(pattern);
  return {.consumed = 2};
}

// -align N: alignas(N) on the data arrays written from here on.
OptionResult SetAlignment(const ArgumentCursor& args, Invocation& run) {
  constexpr long kMostAlignment = 4096;
  constexpr size_t kMostDigits = 4;
  const std::string value = args.At(1) ? args.At(1) : "";
  const bool digits =
      !value.empty() && value.size() <= kMostDigits && value.find_first_not_of("0123456789") == std::string::npos;
  const long alignment = digits ? std::strtol(value.c_str(), nullptr, 10) : 0;
  if (alignment < 1 || alignment > kMostAlignment || (alignment & (alignment - 1)) != 0)
    return OptionError("Invalid alignment (a power of two from 1 to 4096): -align " + value);
  run.settings.conversion.style.alignment = static_cast<int32_t>(alignment);
  return {.consumed = 2};
}

using F = OutputFormat;
using D = DigestKind;
using S = SourceStyle;

const OptionEntry kOptionTable[] = {
    {"-o", "output path", SetOutputFolder},
    {"-i", "input file to convert", HandleInputOption},
    {"-last", "re-use last input file to convert", HandleLastOption},
    {"-p", "parse folder to convert files that match tag", HandleScanOption},
    {"-depfile",
     "write a dependency file (Make syntax) at the end of the run: its outputs, the files it read and the "
     "folders it parsed",
     SetDepfile},
    {nullptr, nullptr, nullptr},
    {"-test", "enable test mode (generate data without output generated)", EnableTestMode},
    {"-q", "quiet: print errors only (as the first argument, no banner either)", SetQuiet},
    {nullptr, nullptr, nullptr},
    {"-cpp", "generate cpp and h files (default)", SelectFormat<F::Cpp>},
    {"-cxx", "generate cxx file", SelectFormat<F::Cxx>},
    {"-md5, -sha1, -sha256, -sha512", "generate md5, sha1, sha256 or sha512 file", nullptr},
    {"-md5", nullptr, SelectDigestFormat<F::Checksum, D::Md5>},
    {"-sha1", nullptr, SelectDigestFormat<F::Checksum, D::Sha1>},
    {"-sha256", nullptr, SelectDigestFormat<F::Checksum, D::Sha256>},
    {"-sha512", nullptr, SelectDigestFormat<F::Checksum, D::Sha512>},
    {"-cpp_md5, -cpp_sha1, -cpp_sha256, -cpp_sha512", "generate md5, sha1, sha256 or sha512 cpp file", nullptr},
    {"-cpp_md5", nullptr, SelectDigestFormat<F::Cpp, D::Md5>},
    {"-cpp_sha1", nullptr, SelectDigestFormat<F::Cpp, D::Sha1>},
    {"-cpp_sha256", nullptr, SelectDigestFormat<F::Cpp, D::Sha256>},
    {"-cpp_sha512", nullptr, SelectDigestFormat<F::Cpp, D::Sha512>},
    {"-cxx_md5, -cxx_sha1, -cxx_sha256, -cxx_sha512", "generate md5, sha1, sha256 or sha512 cxx file", nullptr},
    {"-cxx_md5", nullptr, SelectDigestFormat<F::Cxx, D::Md5>},
    {"-cxx_sha1", nullptr, SelectDigestFormat<F::Cxx, D::Sha1>},
    {"-cxx_sha256", nullptr, SelectDigestFormat<F::Cxx, D::Sha256>},
    {"-cxx_sha512", nullptr, SelectDigestFormat<F::Cxx, D::Sha512>},
    {nullptr, nullptr, nullptr},
    {"-stl", "use std::vector<unsigned char>", SetStyle<&S::useVector, true>},
    {"-dyn", "dynamic data (no const keyword)", SetStyle<&S::dynamicData, true>},
    {"-nons", "no namespace", SetStyle<&S::noNamespace, true>},
    {"-ns", "namespace of the data (default Data; a::b for nested ones)", SetNamespace},
    {"-dec", "output in decimal format instead of hexadecimal", SetStyle<&S::hexOutput, false>},
    {"-bw", "brace wrapping on new line", SetStyle<&S::braceWrap, true>},
    {"-bwns", "brace wrapping on new line for namespace", SetStyle<&S::braceWrapNamespace, true>},
    {"-str",
     "data as a string literal (64 bytes by row by default): compiles much faster; "
     "the array holds one more element, a final zero",
     SetStyle<&S::stringLiteral, true>},
    {"-incbin",
     "the .cpp includes the input file with the assembler's .incbin (its absolute path): compiles in "
     "a moment, not with MSVC; not with -stl or -dyn",
     SetStyle<&S::incbin, true>},
    {"-align", "alignas(N) on the data arrays, N a power of two from 1 to 4096", SetAlignment},
    {"-index",
     "catalogue: the C++ source of the files that follow goes into name.cpp and name.h, "
     "a table sorted by path with name_find(path)",
     SetCatalogue},
    {"-prefix", "catalogue keys of the files that follow start with this folder and a / (\"\" for none)",
     SetCataloguePrefix},
    {"-exclude",
     "scans that follow pass over files and folders whose name matches this pattern (*, ?, [...]); several add up, "
     "\"\" drops them",
     AddExclusion},
    {"-compress",
     "catalogue entries that follow are stored as gzip when that makes them a tenth smaller or more; "
     "name_inflate gives back their bytes (link zlib)",
     EnableCompression},
    {"-nocompress", "catalogue entries that follow are stored as they are (default)", DisableCompression},
    {nullptr, nullptr, nullptr},
    {"-size_t", "variable type for data size \"size_t your_data__size = 1000\" (default)",
     SetStyle<&S::sizeType, SizeType::SizeT>},
    {"-s32", "variable type for data size \"int your_data__size = 1000\"", SetStyle<&S::sizeType, SizeType::Int32>},
    {"-u32", "variable type for data size \"unsigned int your_data__size = 1000\"",
     SetStyle<&S::sizeType, SizeType::UInt32>},
    {nullptr, nullptr, nullptr},
    {"-8", "8, 16 (default), 32, 64, 128, 256, 512 or 1024 bytes by row", nullptr},
    {"-8", nullptr, SelectRowWidth},
    {"-16", nullptr, SelectRowWidth},
    {"-32", nullptr, SelectRowWidth},
    {"-64", nullptr, SelectRowWidth},
    {"-128", nullptr, SelectRowWidth},
    {"-256", nullptr, SelectRowWidth},
    {"-512", nullptr, SelectRowWidth},
    {"-1024", nullptr, SelectRowWidth},
    {nullptr, nullptr, nullptr},
    {"-t0", "tab size (0 space)", SelectTabSize},
    {"-t1", "tab size (1 space)", SelectTabSize},
    {"-t2", "tab size (2 spaces - default)", SelectTabSize},
    {"-t3", "tab size (3 spaces)", SelectTabSize},
    {"-t4", "tab size (4 spaces)", SelectTabSize},
    {nullptr, nullptr, nullptr},
    // Answered by the driver as the first argument; never selected here.
    {"-h, --help", "print this text and exit", nullptr},
    {"--version", "print the name and version and exit", nullptr},
};

}  // namespace

std::span<const OptionEntry> OptionRows() {
  return kOptionTable;
}

const OptionEntry* FindOption(const char* argument) {
  for (const OptionEntry& row : kOptionTable) {
    if (row.handler && row.name && std::strcmp(row.name, argument) == 0)
      return &row;
  }
  return nullptr;
}
