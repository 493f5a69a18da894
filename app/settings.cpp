#include "app/settings.h"

#include <algorithm>
#include <cstdlib>
#include <thread>

Settings g_settings;

ConversionSettings CurrentConversionSettings() {
  const Settings& s = g_settings;
  ConversionSettings settings;
  settings.format = s.outputFormat;
  settings.source = s.contentSource;
  settings.style.rowMask = s.rowMask;
  settings.style.rowWidthChosen = s.rowWidthChosen;
  settings.style.stringLiteral = s.stringLiteral;
  settings.style.tabSize = s.tabSize;
  settings.style.hexOutput = s.hexOutput;
  settings.style.sizeType = s.sizeType;
  settings.style.dynamicData = s.dynamicData;
  settings.style.noNamespace = s.noNamespace;
  settings.style.nameSpace = s.nameSpace;
  settings.style.useVector = s.useVector;
  settings.style.braceWrap = s.braceWrap;
  settings.style.braceWrapNamespace = s.braceWrapNamespace;
  settings.style.alignment = s.alignment;
  settings.intoCatalogue = !s.run.catalogues.empty();
  if (s.outputFolder)
    settings.outputFolder = s.outputFolder;
  settings.scanTag = s.scanTag;
  settings.testMode = s.testMode;
  return settings;
}

size_t ScanThreadsFrom(const char* jobs) {
  // More threads than this only hold more files in memory at once.
  constexpr unsigned long kMostThreads = 256;
  if (jobs) {
    char* end = nullptr;
    const unsigned long count = std::strtoul(jobs, &end, 10);
    if (*jobs && !*end && count > 0)
      return std::min(count, kMostThreads);
  }
  return std::max(1u, std::thread::hardware_concurrency());
}
