#include "convert/catalogue.h"

#include <algorithm>
#include <cctype>
#include <new>
#include <vector>

#include "convert/conversion.h"
#include "convert/output_file.h"
#include "convert/report.h"
#include "platform/console_log.h"
#include "platform/gzip.h"
#include "platform/path.h"

namespace {

// Returns the parts of a path between its "/"s.
std::vector<std::string_view> PartsOf(std::string_view path) {
  std::vector<std::string_view> parts;
  for (size_t start = 0;;) {
    const size_t slash = path.find('/', start);
    parts.push_back(path.substr(start, slash - start));
    if (slash == std::string_view::npos)
      return parts;
    start = slash + 1;
  }
}

bool HasDriveLetter(std::string_view path) {
  return path.size() >= 2 && path[1] == ':' && std::isalpha(static_cast<unsigned char>(path[0]));
}

}  // namespace

std::string CataloguePathOf(std::string_view inputPath, const std::optional<std::string>& scanFolder,
                            std::string_view prefix) {
  std::string path(inputPath);
  if (scanFolder) {
    // The scan joins the folder and each name with the native separator.
    path.erase(0, std::min(path.size(), scanFolder->size() + 1));
    std::replace(path.begin(), path.end(), kPathSeparator, '/');
  } else {
    std::replace(path.begin(), path.end(), '\\', '/');
    while (path.rfind("./", 0) == 0)
      path.erase(0, 2);
  }
  return prefix.empty() ? path : std::string(prefix) + "/" + path;
}

std::optional<std::string> CataloguePrefixOf(std::string_view value) {
  std::string prefix(value);
  std::replace(prefix.begin(), prefix.end(), '\\', '/');
  if (prefix.empty())
    return prefix;
  for (const std::string_view part : PartsOf(prefix)) {
    if (part.empty() || part == "." || part == "..")
      return std::nullopt;
  }
  return prefix;
}

bool GoesIntoCatalogue(const ConversionSettings& settings) {
  return settings.intoCatalogue && settings.format != OutputFormat::Checksum && !settings.contentDigest;
}

bool MayCatalogue(std::string_view inputPath, const ConversionSettings& settings) {
  if (!GoesIntoCatalogue(settings))
    return true;
  const std::string key = CataloguePathOf(inputPath, std::nullopt);
  const std::vector<std::string_view> parts = PartsOf(key);
  // A leading "/" gives an empty first part.
  if (HasDriveLetter(key) || parts.front().empty() || std::find(parts.begin(), parts.end(), "..") != parts.end())
    return ReportError("Catalogue path must stay below the current folder (-prefix names it): ", inputPath);
  return true;
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

size_t GzipLimitOf(size_t size) {
  // Without the overflow of size * 9.
  return size / 10 * 9 + size % 10 * 9 / 10;
}

CatalogueStorage StoreForCatalogue(ByteBuffer& bytes, const ConversionSettings& settings) {
  CatalogueStorage storage{.compressAsked = settings.compress, .gzip = false, .originalSize = bytes.size()};
  if (!settings.compress)
    return storage;
  ByteBuffer member;
  if (GzipWithin(bytes.data(), bytes.size(), GzipLimitOf(bytes.size()), member)) {
    bytes = std::move(member);
    storage.gzip = true;
  }
  return storage;
}

bool AddToCatalogue(RunState& run, CatalogueEntry entry) {
  Catalogue& catalogue = run.catalogues.back();
  // One search of the entries, whether the path is new or not.
  const auto [place, added] = catalogue.entries.try_emplace(entry.path);
  if (!added)
    return ReportError("Path already in the catalogue: ", entry.path);
  catalogue.inflates = catalogue.inflates || entry.storage.compressAsked;
  place->second = std::move(entry);
  return true;
}

namespace {

bool WriteCatalogue(const Catalogue& catalogue, size_t number, RunState& run, bool testMode) {
  ConsoleLog::Instance() << "Writing catalogue: " << catalogue.name << "\n";
  std::vector<CatalogueItem> items;
  items.reserve(catalogue.entries.size());
  for (const auto& [path, entry] : catalogue.entries)
    items.push_back({entry.path, &entry.bytes, entry.sha256.data(), entry.style, entry.incbinPath, entry.storage.gzip,
                     entry.storage.originalSize});
  ConversionSettings settings;
  settings.testMode = testMode;
  // Its own key: a second catalogue of the same name and folder, or a file
  // converted onto its outputs, is refused like any other clash.
  Conversion conversion{settings, run, "", "catalogue:" + std::to_string(number)};
  try {
    // Made piece by piece: the text of large files is never held whole.
    CatalogueSourceText text(catalogue.name, catalogue.style, items, catalogue.inflates);
    ContentPieces pieces = PiecesMadeBy(text);
    if (!WriteIfChanged(conversion, catalogue.sourcePath, pieces) ||
        !WriteIfChanged(conversion, catalogue.headerPath,
                        BuildCatalogueHeader(catalogue.name, catalogue.style, catalogue.inflates)))
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
