#include "platform/file_access.h"

#include "platform/console_log.h"

void ReportEmptyPath(const char* path) {
  ConsoleLog::Instance() << ConsoleColour(14) << "path" << "(" << path << ") " << "\n" << "\n";
}

void ReportLengthFailure(const char* path, int64_t streamLength, bool good) {
  ConsoleLog::Instance() << ConsoleColour(12) << " [ERROR] " << "path" << "(" << path << ") " << "streamLength"
                         << "(" << streamLength << ") " << "inputStream.good()" << "(" << good << ") " << "\n"
                         << "\n";
}

void ReportShortRead(const char* path) {
  ConsoleLog::Instance() << ConsoleColour(12) << " [ERROR] " << "path" << "(" << path << ") "
                         << "inputStream.good()" << "(" << false << ") " << "\n" << "\n";
}

void ReportWriteFailure(const char* path) {
  ConsoleLog::Instance() << ConsoleColour(12) << " [ERROR] " << "path" << "(" << path << ") "
                         << "outputStream.good()" << "(" << false << ") " << "\n" << "\n";
}
