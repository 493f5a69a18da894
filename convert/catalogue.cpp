#include "convert/catalogue.h"

#include <algorithm>
#include <new>
#include <vector>

#include "convert/conversion.h"
#include "convert/output_file.h"
#include "convert/report.h"
#include "platform/console_log.h"
#include "platform/path.h"

std::string CataloguePathOf(std::string_view inputPath, const std::optional<std::string>& scanFolder) {
  std::string path(inputPath);
  if (scanFolder) {
    // The scan joins the folder and each name with the native separator.
    path.erase(0, std::min(path.size(), scanFolder->size() + 1));
    std::replace(path.begin(), path.end(), kPathSeparator, '/');
    return path;
  }
  std::replace(path.begin(), path.end(), '\\', '/');
  while (path.rfind("./", 0) == 0)
    path.erase(0, 2);
  return path;
}

void OpenCatalogue(RunState& run, const std::string& name, const ConversionSettings& settings) {
  Catalogue catalogue;
  catalogue.name = name;
  catalogue.style = settings.style;
  const std::string stem = settings.outputFolder ? JoinPath(*settings.outputFolder, name) : name;
  catalogue.sourcePath = stem + ".cpp";
  catalogue.headerPath = stem + ".h";
  run.catalogues.push_back(std::move(catalogue));
}

bool AddToCatalogue(RunState& run, CatalogueEntry entry) {
  std::map<std::string, CatalogueEntry>& entries = run.catalogues.back().entries;
  if (entries.count(entry.path))
    return ReportError("Path already in the catalogue: ", entry.path);
  std::string path = entry.path;
  entries.emplace(std::move(path), std::move(entry));
  return true;
}

namespace {

bool WriteCatalogue(const Catalogue& catalogue, size_t number, RunState& run, bool testMode) {
  ConsoleLog::Instance() << "Writing catalogue: " << catalogue.name << "\n";
  std::vector<CatalogueItem> items;
  items.reserve(catalogue.entries.size());
  for (const auto& [path, entry] : catalogue.entries)
    items.push_back({entry.path, &entry.bytes, entry.sha256.data(), entry.style, entry.incbinPath});
  ConversionSettings settings;
  settings.testMode = testMode;
  // Its own key: a second catalogue of the same name and folder, or a file
  // converted onto its outputs, is refused like any other clash.
  Conversion conversion{settings, run, "", "catalogue:" + std::to_string(number)};
  try {
    // Made piece by piece: the text of large files is never held whole.
    CatalogueSourceText text(catalogue.name, catalogue.style, items);
    ContentPieces pieces = PiecesMadeBy(text);
    if (!WriteIfChanged(conversion, catalogue.sourcePath, pieces) ||
        !WriteIfChanged(conversion, catalogue.headerPath, BuildCatalogueHeader(catalogue.name, catalogue.style)))
      return false;
  } catch (const std::bad_alloc&) {
    return ReportError("File too large to hold in memory: ", catalogue.sourcePath);
  }
  ConsoleLog::Instance() << "\n";
  return true;
}

}  // namespace

bool WriteCatalogues(RunState& run, bool testMode) {
  bool written = true;
  for (size_t i = 0; i < run.catalogues.size(); ++i) {
    if (!WriteCatalogue(run.catalogues[i], i, run, testMode))
      written = false;
  }
  return written;
}
