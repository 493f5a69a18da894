#include "convert/depfile.h"

#include "codegen/depfile_text.h"
#include "convert/conversion.h"
#include "convert/output_file.h"
#include "convert/report.h"

bool WriteDepfile(RunState& run, const std::string& path, bool testMode) {
  const DependencyRecord& record = run.dependencies;
  for (const PathsInOrder* paths : {&record.targets, &record.prerequisites}) {
    for (const std::string& named : paths->paths) {
      if (!CanWriteDepfilePath(named))
        return ReportError("Path can't go into the dependency file: ", named);
    }
  }
  ConversionSettings settings;
  settings.testMode = testMode;
  Conversion conversion{settings, run, "", "depfile"};
  // The text is made before the file itself is claimed as an output.
  const std::string text = BuildDepfileText(record.targets.paths, record.prerequisites.paths);
  return WriteIfChanged(conversion, path, text);
}
