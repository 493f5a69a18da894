#include "convert/convert_file.h"

#include <new>
#include <stdexcept>

#include "codegen/data_source.h"
#include "codegen/header_text.h"
#include "codegen/identifier.h"
#include "convert/report.h"
#include "platform/path.h"

namespace {

static_assert(kSha256DigestSize == kCatalogueDigestSize);

// Reads the input into the buffer: its digest, fed block after block so that
// a file of any size takes the same little memory, or its bytes.
ReadResult ReadInput(const std::string& inputPath, const ConversionSettings& settings, FileSystem& fs, PipeWait wait,
                     ByteBuffer& buffer) {
  if (!settings.contentDigest)
    return fs.ReadWholeFile(inputPath, wait, buffer);
  const DigestInfo& digest = DigestInfoOf(*settings.contentDigest);
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

// Paths that lead to the same file share a key, so that converting it again
// under another name is not taken for another input.
std::string InputKeyOf(FileSystem& fs, const std::string& inputPath, std::optional<FileId> identity) {
  if (const std::optional<FileId> id = identity ? identity : fs.IdentityOf(inputPath))
    return std::to_string(id->device) + ":" + std::to_string(id->index);
  return "path:" + inputPath;
}

// The source names the input by its absolute path, which holds on the
// machine that converts and builds. False after a failure, already reported.
bool FindIncbinPath(PreparedConversion& prepared, FileSystem& fs) {
  const std::optional<std::string> path = fs.CanonicalPath(prepared.inputPath);
  if (!path)
    return ReportError("No absolute path for -incbin: ", prepared.inputPath);
  prepared.material.incbin.path = *path;
  return true;
}

// Under -incbin the source carries the digest of the bytes read now. False after a failure, already
// reported.
bool PrepareIncbin(PreparedConversion& prepared, const ConversionSettings& settings, FileSystem& fs) {
  const SourceStyle& style = settings.style;
  // The assembler fills read-only bytes: no vector, nothing writable.
  if (style.useVector || style.dynamicData)
    return ReportError("-incbin can't make a vector (-stl) or writable data (-dyn): ", prepared.inputPath);
  if (!FindIncbinPath(prepared, fs))
    return false;
  IncbinFile& file = prepared.material.incbin;
  DigestInfoOf(DigestKind::Sha256)
      .compute(prepared.material.buffer.data(), prepared.material.buffer.size(), file.sha256.data());
  return true;
}

// True when the output goes into the input's folder and that folder's
// listing can't hold it: a tree of small files then spares one look a file.
bool CantBeThere(std::string_view output, std::string_view input, const ListedNames* listing) {
  const size_t nameStart = NameStartOf(output);
  return listing && output.substr(0, nameStart) == input.substr(0, NameStartOf(input)) &&
         !MayHold(*listing, output.substr(nameStart));
}

// Makes what the outputs need from the bytes read (the digest in their
// place, the style and identifier, or the checksum text), plans the outputs
// and, with `compareAhead`, compares each with the file already there. False
// after a failure, already reported.
bool PrepareOutputs(PreparedConversion& prepared, const ConversionSettings& settings, FileSystem& fs, bool compareAhead,
                    const ListedNames* listing) {
  OutputMaterial& material = prepared.material;
  if (GoesIntoCatalogue(settings)) {
    // The bytes wait in memory for the catalogue written at the end of the
    // run; only their digest is made now, on the worker that read them.
    DigestInfoOf(DigestKind::Sha256).compute(material.buffer.data(), material.buffer.size(), prepared.sha256.data());
    prepared.storage = StoreForCatalogue(material.buffer, settings);
    // -stl and -dyn don't apply to a catalogue: only the path is needed.
    return !settings.style.incbin || FindIncbinPath(prepared, fs);
  }
  // The content digest, when there is one, was made while reading.
  if (settings.format == OutputFormat::Checksum) {
    material.checksum = LowercaseHex(material.buffer.data(), material.buffer.size());
  } else {
    material.style = settings.style;
    material.style.digestComment = settings.contentDigest.has_value();
    // A digest array holds bytes that no file holds: it keeps its text form.
    material.style.incbin = settings.style.incbin && !settings.contentDigest;
    if (material.style.incbin && !PrepareIncbin(prepared, settings, fs))
      return false;
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
        output.look = LookAtOutput(fs, output.path, content, settings.testMode,
                                   CantBeThere(output.path, prepared.inputPath, listing));
        return true;
      });
    }
  }
  return true;
}

}  // namespace

std::unique_ptr<PreparedConversion> PrepareConversion(const std::string& inputPath, const ConversionSettings& settings,
                                                      FileSystem& fs, PipeWait wait, bool compareAhead,
                                                      std::optional<FileId> identity, const ListedNames* listing) {
  auto prepared = std::make_unique<PreparedConversion>();
  prepared->inputPath = inputPath;
  ConsoleLog::Instance() << "Reading File: " << Escaped{inputPath} << "\n";
  prepared->inputKey = InputKeyOf(fs, inputPath, identity);
  try {
    const ReadResult read = ReadInput(inputPath, settings, fs, wait, prepared->material.buffer);
    if (read != ReadResult::Done) {
      ReportReadFailure(read, inputPath);
      return prepared;
    }
    ConsoleLog::Instance() << ConsoleColour(Colour::Dim) << "Converting..."
                           << "\n";
    prepared->ready = PrepareOutputs(*prepared, settings, fs, compareAhead, listing);
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
  run.dependencies.AddPrerequisite(prepared.inputPath);
  if (!prepared.ready)
    return false;
  if (GoesIntoCatalogue(settings)) {
    CatalogueEntry entry{CataloguePathOf(prepared.inputPath, settings.scanFolder, settings.cataloguePrefix),
                         std::move(prepared.material.buffer),
                         prepared.sha256,
                         settings.style,
                         std::move(prepared.material.incbin.path),
                         prepared.storage};
    if (!AddToCatalogue(run, std::move(entry)))
      return false;
    ConsoleLog::Instance() << "\n";
    return true;
  }
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

bool ConvertFile(const std::string& inputPath, const ConversionSettings& settings, RunState& run, PipeWait wait,
                 std::optional<FileId> identity) {
  std::unique_ptr<PreparedConversion> prepared = PrepareConversion(inputPath, settings, *run.fs, wait, false, identity);
  return CommitConversion(*prepared, settings, run);
}
