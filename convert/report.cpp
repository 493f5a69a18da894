#include "convert/report.h"

#include <string>

#include "platform/console_log.h"

namespace {

void PrintError(const std::string& text) {
  ConsoleLog::Instance() << ConsoleColour(Colour::Error) << " [ERROR] " << text << "\n"
                         << "\n";
}

// A check line names the state of the reader or writer at a failure that
// opening the file did not foresee.
std::string CheckLine(std::string_view path, std::string_view state) {
  return "path(" + EscapeControlBytes(path) + ") " + std::string(state) + " ";
}

}  // namespace

bool ReportError(std::string_view description, std::string_view path) {
  PrintError(std::string(description) + EscapeControlBytes(path));
  return false;
}

bool ReportReadFailure(ReadResult result, std::string_view path) {
  switch (result) {
    case ReadResult::Done: return true;
    case ReadResult::TooLarge: return ReportError("File too large to hold in memory: ", path);
    case ReadResult::Shrunk: return ReportError("Can't read file: ", path);
    case ReadResult::UnknownLength: PrintError(CheckLine(path, "streamLength(-1) inputStream.good()(0)")); break;
    case ReadResult::ShortRead: PrintError(CheckLine(path, "inputStream.good()(0)")); break;
    case ReadResult::CantOpen: break;
  }
  return ReportError("Can't open file: ", path);
}

bool ReportWriteFailure(WriteResult result, std::string_view path) {
  if (result == WriteResult::Done)
    return true;
  if (result == WriteResult::ShortWrite)
    PrintError(CheckLine(path, "outputStream.good()(0)"));
  return ReportError("Can't write file: ", path);
}
