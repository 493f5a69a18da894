#include "convert/convert_file.h"

#include <cstring>
#include <new>
#include <stdexcept>

#include "app/options.h"
#include "app/settings.h"
#include "codegen/data_source.h"
#include "codegen/source_files.h"
#include "convert/output_file.h"
#include "digest/digest.h"
#include "platform/console_log.h"
#include "platform/file_access.h"

namespace {

// The digest of the number (2 to 5) that OutputFormat and ContentSource share.
const DigestInfo& DigestOfFormat(int32_t kind) {
  return DigestInfoOf(static_cast<DigestKind>(kind - static_cast<int32_t>(OutputFormat::Md5)));
}

// Replaces the buffer by its digest of kind `kind` (2 to 5).
void DigestInPlace(int32_t kind, ByteBuffer& buffer) {
  unsigned char digest[kMaxDigestSize];
  const DigestInfo& info = DigestOfFormat(kind);
  info.compute(buffer.data(), buffer.size(), digest);
  buffer.Assign(digest, info.size);
}

void ReportFailure(const char* description, const char* path) {
  ConsoleLog::Instance() << ConsoleColour(12) << " [ERROR] " << description << path << "\n" << "\n";
  g_settings.exitCode = -1;
}

// Runs the steps after reading; returns whether the last writer succeeded.
bool ConvertBuffer(const char* inputPath, ByteBuffer& buffer) {
  const int32_t format = static_cast<int32_t>(g_settings.outputFormat);
  const int32_t source = static_cast<int32_t>(g_settings.contentSource);
  if (source != format && source >= 2 && source <= 5)
    DigestInPlace(source, buffer);

  g_settings.currentFileName = FileNameOf(inputPath);
  const std::string identifier = MakeIdentifier(g_settings.currentFileName);

  if (format >= 2 && format <= 5) {
    DigestInPlace(format, buffer);
    return WriteChecksumFile(inputPath, LowercaseHex(buffer.data(), buffer.size()), DigestOfFormat(format).extension);
  }
  if (format == static_cast<int32_t>(OutputFormat::Cxx))
    return WriteSourceFile(inputPath, buffer, identifier, true);
  return WriteSourceFile(inputPath, buffer, identifier, false) &&
         WriteHeaderFile(inputPath, buffer, identifier);
}

}  // namespace

const char* FileNameOf(const char* path) {
  const char* name = path;
  for (const char* c = path; *c; ++c) {
    if (*c == '\\' || *c == '/')
      name = c + 1;
  }
  return name;
}

std::string MakeIdentifier(const char* fileName) {
  std::string identifier(fileName);
  for (char& c : identifier) {
    if (c >= 'A' && c <= 'Z')
      c = static_cast<char>(c - 'A' + 'a');
    if (!((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9')))
      c = '_';
  }
  if (identifier.empty() || !(identifier[0] >= 'a' && identifier[0] <= 'z'))
    identifier.insert(identifier.begin(), '_');
  return identifier;
}

void ConvertFile(const char* inputPath) {
  ConsoleLog::Instance() << "Reading File: " << inputPath << "\n";
  g_settings.currentInputPath = inputPath;
  bool succeeded = false;
  try {
    ByteBuffer buffer;
    if (!ReadWholeFile(inputPath, buffer)) {
      ReportFailure("Can't open file: ", inputPath);
      g_settings.currentInputPath = nullptr;
      return;
    }
    ConsoleLog::Instance() << ConsoleColour(8) << "Converting..." << "\n";
    succeeded = ConvertBuffer(inputPath, buffer);
  } catch (const std::bad_alloc&) {
    ReportFailure("File too large to hold in memory: ", inputPath);
  } catch (const std::length_error&) {
    ReportFailure("File too large to hold in memory: ", inputPath);
  }
  g_settings.currentInputPath = nullptr;
  if (succeeded)
    ConsoleLog::Instance() << "\n";
}

void HandleInputOption() {
  ++g_settings.argIndex;
  if (g_settings.argIndex >= g_settings.argCount) {
    ReportOptionError("Input file is missing: -i yourFile.bin");
    return;
  }
  g_settings.scanTag = nullptr;
  g_settings.lastInputPath = g_settings.argValues[g_settings.argIndex];
  ++g_settings.argIndex;
  ConvertFile(g_settings.lastInputPath);
}

void HandleLastOption() {
  if (!g_settings.lastInputPath) {
    ReportOptionError("No Input file: -i yourFile.bin");
    return;
  }
  ++g_settings.argIndex;
  ConvertFile(g_settings.lastInputPath);
}
