#include "app/options.h"

#include <cstdlib>
#include <cstring>
#include <string>

#include "app/input_options.h"
#include "app/settings.h"
#include "codegen/identifier.h"
#include "convert/catalogue.h"
#include "platform/console_log.h"

namespace {

const char* CurrentArgument() {
  return g_settings.argValues[g_settings.argIndex];
}

template <OutputFormat Format, ContentSource Source>
void SelectFormat() {
  ++g_settings.argIndex;
  g_settings.outputFormat = Format;
  g_settings.contentSource = Source;
}

// The switches only ever turn one way within a run.
template <bool Settings::*Field, bool Value>
void SetSwitch() {
  ++g_settings.argIndex;
  g_settings.*Field = Value;
}

template <SizeType Type>
void SelectSizeType() {
  ++g_settings.argIndex;
  g_settings.sizeType = Type;
}

// The eight row widths share this handler: "-1024" gives a mask of 1023.
void SelectRowWidth() {
  g_settings.rowMask = std::atoi(CurrentArgument() + 1) - 1;
  g_settings.rowWidthChosen = true;
  ++g_settings.argIndex;
}

// "-t0" to "-t4".
void SelectTabSize() {
  g_settings.tabSize = std::atoi(CurrentArgument() + 2);
  ++g_settings.argIndex;
}

}  // namespace

void SetQuiet() {
  g_settings.quiet = true;
  ConsoleLog::Instance().SetQuiet(true);
  ++g_settings.argIndex;
}

namespace {

void EnableTestMode() {
  g_settings.testMode = true;
  ++g_settings.argIndex;
  ConsoleLog::Instance() << ConsoleColour(Colour::Notice) << "**** TEST ENABLED ****"
                         << "\n"
                         << "\n";
}

void SetOutputFolder() {
  ++g_settings.argIndex;
  if (!FolderValueAt(g_settings.argIndex)) {
    ReportOptionError("Output path is missing: -o C:\\Data");
    return;
  }
  g_settings.outputFolder = CurrentArgument();
  ++g_settings.argIndex;
}

void SetNamespace() {
  ++g_settings.argIndex;
  if (g_settings.argIndex >= g_settings.argCount || CurrentArgument()[0] == '\0') {
    ReportOptionError("Namespace is missing: -ns name");
    return;
  }
  const char* name = CurrentArgument();
  if (!IsValidNamespace(name)) {
    const std::string message =
        std::string("Invalid namespace (C++ identifiers joined by ::, no keyword): -ns ") + name;
    ReportOptionError(message.c_str());
    return;
  }
  g_settings.nameSpace = name;
  ++g_settings.argIndex;
}

// -index name: from here on, C++ source goes into the catalogue `name`.
void SetCatalogue() {
  ++g_settings.argIndex;
  if (g_settings.argIndex >= g_settings.argCount || CurrentArgument()[0] == '\0') {
    ReportOptionError("Catalogue name is missing: -index name");
    return;
  }
  const std::string name = CurrentArgument();
  // Its name starts the C++ names of the catalogue: one identifier.
  if (!IsValidNamespace(name) || name.find(':') != std::string::npos) {
    ReportOptionError(("Invalid catalogue name (a C++ identifier, no keyword): -index " + name).c_str());
    return;
  }
  OpenCatalogue(g_settings.run, name, CurrentConversionSettings());
  ++g_settings.argIndex;
}

// -align N: alignas(N) on the data arrays written from here on.
void SetAlignment() {
  constexpr long kMostAlignment = 4096;
  ++g_settings.argIndex;
  const std::string value = g_settings.argIndex < g_settings.argCount ? CurrentArgument() : "";
  const bool digits = !value.empty() && value.size() <= 4 && value.find_first_not_of("0123456789") == std::string::npos;
  const long alignment = digits ? std::strtol(value.c_str(), nullptr, 10) : 0;
  if (alignment < 1 || alignment > kMostAlignment || (alignment & (alignment - 1)) != 0) {
    ReportOptionError(("Invalid alignment (a power of two from 1 to 4096): -align " + value).c_str());
    return;
  }
  g_settings.alignment = static_cast<int32_t>(alignment);
  ++g_settings.argIndex;
}

using F = OutputFormat;
using C = ContentSource;

}  // namespace

bool FolderValueAt(int32_t index) {
  return index < g_settings.argCount && g_settings.argValues[index][0] != '\0';
}

void ReportOptionError(const char* message) {
  g_settings.exitCode = -1;
  ConsoleLog::Instance() << ConsoleColour(Colour::Notice) << message << "\n"
                         << "\n";
}

const OptionEntry OptionTable[kOptionCount] = {
    {"-o", "output path", SetOutputFolder},
    {"-i", "input file to convert", HandleInputOption},
    {"-last", "re-use last input file to convert", HandleLastOption},
    {"-p", "parse folder to convert files that match tag", HandleScanOption},
    {nullptr, nullptr, nullptr},
    {"-test", "enable test mode (generate data without output generated)", EnableTestMode},
    {"-q", "quiet: print errors only (as the first argument, no banner either)", SetQuiet},
    {nullptr, nullptr, nullptr},
    {"-cpp", "generate cpp and h files (default)", SelectFormat<F::Cpp, C::Cpp>},
    {"-cxx", "generate cxx file", SelectFormat<F::Cxx, C::Cxx>},
    {"-md5, -sha1, -sha256, -sha512", "generate md5, sha1, sha256 or sha512 file", nullptr},
    {"-md5", nullptr, SelectFormat<F::Md5, C::Md5>},
    {"-sha1", nullptr, SelectFormat<F::Sha1, C::Sha1>},
    {"-sha256", nullptr, SelectFormat<F::Sha256, C::Sha256>},
    {"-sha512", nullptr, SelectFormat<F::Sha512, C::Sha512>},
    {"-cpp_md5, -cpp_sha1, -cpp_sha256, -cpp_sha512", "generate md5, sha1, sha256 or sha512 cpp file", nullptr},
    {"-cpp_md5", nullptr, SelectFormat<F::Cpp, C::Md5>},
    {"-cpp_sha1", nullptr, SelectFormat<F::Cpp, C::Sha1>},
    {"-cpp_sha256", nullptr, SelectFormat<F::Cpp, C::Sha256>},
    {"-cpp_sha512", nullptr, SelectFormat<F::Cpp, C::Sha512>},
    {"-cxx_md5, -cxx_sha1, -cxx_sha256, -cxx_sha512", "generate md5, sha1, sha256 or sha512 cxx file", nullptr},
    {"-cxx_md5", nullptr, SelectFormat<F::Cxx, C::Md5>},
    {"-cxx_sha1", nullptr, SelectFormat<F::Cxx, C::Sha1>},
    {"-cxx_sha256", nullptr, SelectFormat<F::Cxx, C::Sha256>},
    {"-cxx_sha512", nullptr, SelectFormat<F::Cxx, C::Sha512>},
    {nullptr, nullptr, nullptr},
    {"-stl", "use std::vector<unsigned char>", SetSwitch<&Settings::useVector, true>},
    {"-dyn", "dynamic data (no const keyword)", SetSwitch<&Settings::dynamicData, true>},
    {"-nons", "no namespace", SetSwitch<&Settings::noNamespace, true>},
    {"-ns", "namespace of the data (default Data; a::b for nested ones)", SetNamespace},
    {"-dec", "output in decimal format instead of hexadecimal", SetSwitch<&Settings::hexOutput, false>},
    {"-bw", "brace wrapping on new line", SetSwitch<&Settings::braceWrap, true>},
    {"-bwns", "brace wrapping on new line for namespace", SetSwitch<&Settings::braceWrapNamespace, true>},
    {"-str",
     "data as a string literal (64 bytes by row by default): compiles much faster; "
     "the array holds one more element, a final zero",
     SetSwitch<&Settings::stringLiteral, true>},
    {"-align", "alignas(N) on the data arrays, N a power of two from 1 to 4096", SetAlignment},
    {"-index",
     "catalogue: the C++ source of the files that follow goes into name.cpp and name.h, "
     "a table sorted by path with name_find(path)",
     SetCatalogue},
    {nullptr, nullptr, nullptr},
    {"-size_t", "variable type for data size \"size_t your_data__size = 1000\" (default)",
     SelectSizeType<SizeType::SizeT>},
    {"-s32", "variable type for data size \"int your_data__size = 1000\"", SelectSizeType<SizeType::Int32>},
    {"-u32", "variable type for data size \"unsigned int your_data__size = 1000\"", SelectSizeType<SizeType::UInt32>},
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

const OptionEntry* FindOption(const char* argument) {
  for (const OptionEntry& row : OptionTable) {
    if (row.handler && row.name && std::strcmp(row.name, argument) == 0)
      return &row;
  }
  return nullptr;
}
