// Catalogues (-index): the files converted while one is open, collected
// during the run and written as one source and header at its end.
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "codegen/catalogue_text.h"
#include "codegen/style.h"
#include "platform/byte_buffer.h"

struct ConversionSettings;
struct RunState;

// How an entry keeps its bytes.
struct CatalogueStorage {
  bool compressAsked = false;  // -compress was in force: the catalogue can inflate
  bool gzip = false;           // the bytes held are a gzip member of the file's
  uint64_t originalSize = 0;   // of the file's bytes
};

// One file of a catalogue.
struct CatalogueEntry {
  std::string path;                                          // the lookup key
  ByteBuffer bytes;                                          // as stored: a gzip member when storage.gzip
  std::array<unsigned char, kCatalogueDigestSize> sha256{};  // of the file's bytes
  SourceStyle style;                                         // in force when the file was converted
  std::string incbinPath;                                    // absolute, when the style includes the file with -incbin
  CatalogueStorage storage;
};

struct Catalogue {
  std::string name;
  SourceStyle style;  // its namespace, as at -index
  std::string sourcePath;
  std::string headerPath;
  std::map<std::string, CatalogueEntry> entries;  // by path, in byte order
  bool inflates = false;                          // an entry came under -compress: name_inflate is written
};

// Returns the most bytes that a gzip member of `size` bytes may take to be
// stored in their place: nine tenths of the size, rounded down.
size_t GzipLimitOf(size_t size);

// Stores the bytes as a gzip member when -compress is in force and that
// makes them at least a tenth smaller; the storage says which, and that
// -compress was asked for. Throws std::bad_alloc when memory runs out.
CatalogueStorage StoreForCatalogue(ByteBuffer& bytes, const ConversionSettings& settings);

// Returns the key of an input: the prefix and a "/" when there is a prefix,
// then its path below the scanned folder for a file of a folder scan,
// otherwise the path as written with "\" turned into "/" and no leading "./".
std::string CataloguePathOf(std::string_view inputPath, const std::optional<std::string>& scanFolder,
                            std::string_view prefix = {});

// Returns the value of -prefix with "\" turned into "/"; none for one with a
// leading "/", an empty part, or a "." or ".." part.
std::optional<std::string> CataloguePrefixOf(std::string_view value);

// True when the settings put the C++ source of a file's own bytes into the
// open catalogue (a checksum or a digest array is a file of its own).
bool GoesIntoCatalogue(const ConversionSettings& settings);

// True unless the input named on the command line would go into the
// catalogue under a key that names the machine's folders (an absolute path,
// a drive letter, a ".." part); false after reporting it.
bool MayCatalogue(std::string_view inputPath, const ConversionSettings& settings);

// Closes the open catalogue, if any, and opens `name` in the settings'
// output folder and namespace.
void OpenCatalogue(RunState& run, const std::string& name, const ConversionSettings& settings);

// Files the entry in the open catalogue (there must be one); false after
// reporting a path that it holds already, which it keeps.
bool AddToCatalogue(RunState& run, CatalogueEntry entry);

// Writes every catalogue of the run through the change-aware path, printing
// its lines; false when any output failed, already reported.
bool WriteCatalogues(RunState& run, bool testMode);
