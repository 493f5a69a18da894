#include "convert/convert_file.h"

#include <new>
#include <stdexcept>

#include "codegen/data_source.h"
#include "codegen/header_text.h"
#include "codegen/identifier.h"
#include "convert/report.h"
#include "platform/path.h"

namespace {

// The digest made straight from the file, when the outputs need its digest
// rather than its bytes: the checksum of a checksum format, or the digest
// that replaces the bytes of a -cpp_* or -cxx_* source.
std::optional<DigestKind> DigestOfInput(const ConversionSettings& settings) {
  if (const std::optional<DigestKind> substituted = SubstitutedDigest(settings.format, settings.source))
    return substituted;
  return DigestOf(settings.format);
}

// Reads the input into the buffer: its digest, fed block after block so that
// a file of any size takes the same little memory, or its bytes.
ReadResult ReadInput(const std::string& inputPath, const ConversionSettings& settings, FileSystem& fs, PipeWait wait,
                     ByteBuffer& buffer) {
  const std::optional<DigestKind> kind = DigestOfInput(settings);
  if (!kind)
    return fs.ReadWholeFile(inputPath, wait, buffer);
  const DigestInfo& digest = DigestInfoOf(*kind);
  DigestContext context;
  digest.init(context);
  const ReadResult result = fs.ReadInBlocks(inputPath, wait, [&](const unsigned char* block, size_t length) {
    digest.update(context, block, length);
    return true;
  });
  unsigned char bytes[kMaxDigestSize];
  digest.final(context, bytes);
  buffer.Assign(bytes, digest.size);
  return result;
}

void DigestInPlace(DigestKind kind, ByteBuffer& buffer) {
  const DigestInfo& digest = DigestInfoOf(kind);
  unsigned char bytes[kMaxDigestSize];
  digest.compute(buffer.data(), buffer.size(), bytes);
  buffer.Assign(bytes, digest.size);
}

// Paths that lead to the same file share a key, so that converting it again
// under another name is not taken for another input.
std::string InputKeyOf(FileSystem& fs, const std::string& inputPath) {
  if (const std::optional<FileId> id = fs.IdentityOf(inputPath))
    return std::to_string(id->device) + ":" + std::to_string(id->index);
  return "path:" + inputPath;
}

// The steps after reading; false after a failure, already reported.
bool Convert(PreparedConversion& prepared, const ConversionSettings& settings, FileSystem& fs, bool compareAhead) {
  OutputMaterial& material = prepared.material;
  // The first digest was made while reading.
  const std::optional<DigestKind> substituted = SubstitutedDigest(settings.format, settings.source);
  if (const std::optional<DigestKind> checksum = DigestOf(settings.format)) {
    if (substituted)
      DigestInPlace(*checksum, material.buffer);
    material.checksum = LowercaseHex(material.buffer.data(), material.buffer.size());
  } else {
    material.style = settings.style;
    material.style.digestComment = substituted.has_value();
    material.identifier = MakeIdentifier(FileNameOf(prepared.inputPath));
    // A size constant that its type can't hold would compile to a wrong
    // value.
    if (settings.format == OutputFormat::Cpp && !SizeFitsType(material.buffer.size(), material.style.sizeType))
      return ReportError("File too large for the size type: ", prepared.inputPath);
  }
  prepared.outputs = PlanOutputs(settings, prepared.inputPath);
  if (compareAhead) {
    for (PlannedOutput& output : prepared.outputs) {
      WithOutputContent(material, output.kind, [&](ContentPieces& content) {
        output.comparison = fs.CompareWithFile(output.path, content);
        return true;
      });
    }
  }
  return true;
}

}  // namespace

std::unique_ptr<PreparedConversion> PrepareConversion(const std::string& inputPath, const ConversionSettings& settings,
                                                      FileSystem& fs, PipeWait wait, bool compareAhead) {
  auto prepared = std::make_unique<PreparedConversion>();
  prepared->inputPath = inputPath;
  ConsoleLog::Instance() << "Reading File: " << inputPath << "\n";
  prepared->inputKey = InputKeyOf(fs, inputPath);
  try {
    const ReadResult read = ReadInput(inputPath, settings, fs, wait, prepared->material.buffer);
    if (read != ReadResult::Done) {
      ReportReadFailure(read, inputPath);
      return prepared;
    }
    ConsoleLog::Instance() << ConsoleColour(Colour::Dim) << "Converting..."
                           << "\n";
    prepared->ready = Convert(*prepared, settings, fs, compareAhead);
  } catch (const std::bad_alloc&) {
    // The text of a file that fits in memory may still not.
    ReportReadFailure(ReadResult::TooLarge, inputPath);
  } catch (const std::length_error&) {
    ReportReadFailure(ReadResult::TooLarge, inputPath);
  }
  return prepared;
}

bool CommitConversion(PreparedConversion& prepared, const ConversionSettings& settings, RunState& run) {
  ConsoleLog::Instance().Replay(prepared.console);
  if (!prepared.ready)
    return false;
  Conversion conversion{settings, run, prepared.inputPath, prepared.inputKey};
  try {
    // After a failed .cpp no header is attempted.
    for (const PlannedOutput& output : prepared.outputs) {
      if (!WriteOutput(conversion, prepared.material, output))
        return false;
    }
  } catch (const std::bad_alloc&) {
    return ReportReadFailure(ReadResult::TooLarge, prepared.inputPath);
  }
  ConsoleLog::Instance() << "\n";
  return true;
}

bool ConvertFile(const std::string& inputPath, const ConversionSettings& settings, RunState& run, PipeWait wait) {
  std::unique_ptr<PreparedConversion> prepared = PrepareConversion(inputPath, settings, *run.fs, wait, false);
  return CommitConversion(*prepared, settings, run);
}
