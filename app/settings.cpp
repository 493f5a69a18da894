#include "app/settings.h"

Settings g_settings;

ConversionSettings CurrentConversionSettings() {
  const Settings& s = g_settings;
  ConversionSettings settings;
  settings.format = s.outputFormat;
  settings.source = s.contentSource;
  settings.style.rowMask = s.rowMask;
  settings.style.tabSize = s.tabSize;
  settings.style.hexOutput = s.hexOutput;
  settings.style.sizeType = s.sizeType;
  settings.style.dynamicData = s.dynamicData;
  settings.style.noNamespace = s.noNamespace;
  settings.style.useVector = s.useVector;
  settings.style.braceWrap = s.braceWrap;
  settings.style.braceWrapNamespace = s.braceWrapNamespace;
  if (s.outputFolder)
    settings.outputFolder = s.outputFolder;
  settings.scanTag = s.scanTag;
  settings.testMode = s.testMode;
  return settings;
}
