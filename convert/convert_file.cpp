#include "convert/convert_file.h"

#include <new>
#include <stdexcept>

#include "codegen/data_source.h"
#include "codegen/header_text.h"
#include "codegen/identifier.h"
#include "convert/report.h"
#include "convert/source_files.h"
#include "platform/console_log.h"
#include "platform/path.h"

namespace {

constexpr char kTooLargeForMemory[] = "File too large to hold in memory: ";

void DigestInPlace(DigestKind kind, ByteBuffer& buffer) {
  const DigestInfo& digest = DigestInfoOf(kind);
  unsigned char bytes[kMaxDigestSize];
  digest.compute(buffer.data(), buffer.size(), bytes);
  buffer.Assign(bytes, digest.size);
}

// The steps after reading; returns whether the last writer succeeded.
bool ConvertBuffer(Conversion& conversion, ByteBuffer& buffer) {
  const ConversionSettings& settings = conversion.settings;
  const std::optional<DigestKind> substituted = SubstitutedDigest(settings.format, settings.source);
  if (substituted)
    DigestInPlace(*substituted, buffer);

  if (const std::optional<DigestKind> checksum = DigestOf(settings.format)) {
    DigestInPlace(*checksum, buffer);
    return WriteChecksumFile(conversion, LowercaseHex(buffer.data(), buffer.size()),
                             DigestInfoOf(*checksum).extension);
  }
  SourceStyle style = settings.style;
  style.digestComment = substituted.has_value();
  const std::string identifier = MakeIdentifier(FileNameOf(conversion.inputPath));
  if (settings.format == OutputFormat::Cxx)
    return WriteSourceFile(conversion, buffer, identifier, style, true);
  // A size constant that its type can't hold would compile to a wrong value.
  if (!SizeFitsType(buffer.size(), style.sizeType))
    return ReportError("File too large for the size type: ", conversion.inputPath);
  return WriteSourceFile(conversion, buffer, identifier, style, false) &&
         WriteHeaderFile(conversion, buffer, identifier, style);
}

// Paths that lead to the same file share a key, so that converting it again
// under another name is not taken for another input.
std::string InputKeyOf(FileSystem& fs, const std::string& inputPath) {
  if (const std::optional<FileId> id = fs.IdentityOf(inputPath))
    return std::to_string(id->device) + ":" + std::to_string(id->index);
  return "path:" + inputPath;
}

}  // namespace

bool ConvertFile(const std::string& inputPath, const ConversionSettings& settings, RunState& run) {
  ConsoleLog::Instance() << "Reading File: " << inputPath << "\n";
  Conversion conversion{settings, run, inputPath, InputKeyOf(*run.fs, inputPath)};
  bool succeeded = false;
  try {
    ByteBuffer buffer;
    switch (run.fs->ReadWholeFile(inputPath, buffer)) {
      case ReadResult::CantOpen: return ReportError("Can't open file: ", inputPath);
      case ReadResult::TooLarge: return ReportError(kTooLargeForMemory, inputPath);
      case ReadResult::Done: break;
    }
    ConsoleLog::Instance() << ConsoleColour(Colour::Dim) << "Converting..." << "\n";
    succeeded = ConvertBuffer(conversion, buffer);
  } catch (const std::bad_alloc&) {
    // The text of a file that fits in memory may still not.
    return ReportError(kTooLargeForMemory, inputPath);
  } catch (const std::length_error&) {
    return ReportError(kTooLargeForMemory, inputPath);
  }
  if (succeeded)
    ConsoleLog::Instance() << "\n";
  return succeeded;
}
