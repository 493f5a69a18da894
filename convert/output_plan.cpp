#include "convert/output_plan.h"

#include "codegen/data_source.h"
#include "codegen/header_text.h"
#include "convert/output_file.h"

std::vector<PlannedOutput> PlanOutputs(const ConversionSettings& settings, const std::string& inputPath) {
  const auto planned = [&](OutputKind kind, const char* extension) {
    return PlannedOutput{kind, BuildOutputPath(settings, inputPath, extension), std::nullopt};
  };
  if (settings.format == OutputFormat::Checksum)
    return {planned(OutputKind::Checksum, DigestInfoOf(*settings.contentDigest).extension)};
  if (settings.format == OutputFormat::Cxx)
    return {planned(OutputKind::Source, ".cxx")};
  return {planned(OutputKind::Source, ".cpp"), planned(OutputKind::Header, ".h")};
}

bool WithOutputContent(const OutputMaterial& material, OutputKind kind,
                       const std::function<bool(ContentPieces&)>& use) {
  switch (kind) {
    case OutputKind::Source: {
      // Made piece by piece while it is compared or written: the text of a
      // large file is several times its size and is never held whole.
      DataSourceText text(material.buffer, material.identifier, material.style, ArrayPlace::OwnFile, &material.incbin);
      ContentPieces pieces = PiecesMadeBy(text);
      return use(pieces);
    }
    case OutputKind::Header: {
      const std::string text = BuildHeaderText(material.buffer.size(), material.identifier, material.style);
      ContentPieces pieces = PiecesOf(text);
      return use(pieces);
    }
    case OutputKind::Checksum: break;
  }
  ContentPieces pieces = PiecesOf(material.checksum);
  return use(pieces);
}

bool WriteOutput(Conversion& conversion, const OutputMaterial& material, const PlannedOutput& output) {
  return WithOutputContent(material, output.kind, [&](ContentPieces& content) {
    return StoreIfChanged(conversion, output.path, output.look, content);
  });
}
