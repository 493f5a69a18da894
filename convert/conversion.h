// What a conversion needs besides its input: the settings in force and the
// run that it belongs to.
#pragma once

#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "codegen/style.h"
#include "convert/catalogue.h"
#include "convert/depfile.h"
#include "convert/worker_pool.h"
#include "digest/digest.h"
#include "platform/file_system.h"

// Which files a conversion produces.
enum class OutputFormat {
  Cpp,       // a .cpp data source and its .h
  Cxx,       // a .cxx data source
  Checksum,  // the content digest in lowercase hexadecimal
};

// The settings in force when a conversion starts.
struct ConversionSettings {
  OutputFormat format = OutputFormat::Cpp;
  // The digest that the output shows instead of the file's bytes (-cpp_md5
  // and the like); always set for Checksum.
  std::optional<DigestKind> contentDigest;
  SourceStyle style;
  std::optional<std::string> outputFolder;
  std::optional<std::string> scanTag;  // lowercased; output names lose it
  bool testMode = false;
  bool intoCatalogue = false;                // the file's own bytes go into the open catalogue
  std::optional<std::string> scanFolder;     // of the folder scan that the input comes from
  std::string cataloguePrefix;               // -prefix: folders before every key, "/" between them; none when empty
  std::vector<std::string> excludePatterns;  // -exclude: names that a scan passes over
  bool compress = false;                     // -compress: catalogue entries are stored as gzip when that pays
};

// What the conversions of one run share.
struct RunState {
  explicit RunState(FileSystem* files) : fs(files) {}
  FileSystem* fs;
  // Threads that prepare the files of a folder scan; one prepares each file
  // only when its turn comes.
  size_t scanThreads = 1;
  // Starts those threads; a test starts fewer than asked for.
  ThreadStarter startThread = StartThread;
  // Every output claimed in this run (written, found the same, or in test
  // mode foreseen), keyed by its folder's identity and its name, with the
  // input it was made from.
  std::map<std::string, std::string> outputs;
  // The files those outputs lead to: a scan passes over them.
  std::set<FileId> outputFiles;
  // The files that the run's scans have listed to convert: no output may
  // replace one.
  std::set<FileId> scanInputs;
  // The identity of each folder that outputs went to, by its spelling: a
  // folder found stays for the whole run, which removes none.
  std::map<std::string, FileId> outputFolders;
  // Every catalogue opened in this run; the last one is open.
  std::vector<Catalogue> catalogues;
  // What the dependency file names: outputs, inputs read, folders listed.
  DependencyRecord dependencies;
};

// One conversion in progress: made with braces, so that a text made for
// it lives as long as it does.
struct Conversion {
  const ConversionSettings& settings;
  RunState& run;
  const std::string& inputPath;
  const std::string& inputKey;  // the same for every path that leads to the same file
};
