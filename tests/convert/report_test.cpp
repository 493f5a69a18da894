#include "convert/report.h"

#include <gtest/gtest.h>

#include "support/capture.h"

namespace {

const std::string kCantOpen = " [ERROR] Can't open file: in\n\n", kCantWrite = " [ERROR] Can't write file: out\n\n";

TEST(Report, FailuresPrintTheirCheckLineFirst) {
  const std::pair<ReadResult, std::string> reads[] = {
      {ReadResult::Done, ""},
      {ReadResult::CantOpen, kCantOpen},
      {ReadResult::UnknownLength, " [ERROR] path(in) streamLength(-1) inputStream.good()(0) \n\n" + kCantOpen},
      {ReadResult::ShortRead, " [ERROR] path(in) inputStream.good()(0) \n\n" + kCantOpen},
      {ReadResult::TooLarge, " [ERROR] File too large to hold in memory: in\n\n"},
      {ReadResult::Shrunk, " [ERROR] Can't read file: in\n\n"},
  };
  for (const auto& [result, printed] : reads)
    EXPECT_EQ(CaptureConsole([&] { EXPECT_EQ(ReportReadFailure(result, "in"), result == ReadResult::Done); }), printed);
  const std::pair<WriteResult, std::string> writes[] = {
      {WriteResult::Done, ""},
      {WriteResult::Refused, kCantWrite},
      {WriteResult::ShortWrite, " [ERROR] path(out) outputStream.good()(0) \n\n" + kCantWrite},
  };
  for (const auto& [result, printed] : writes) {
    EXPECT_EQ(CaptureConsole([&] { EXPECT_EQ(ReportWriteFailure(result, "out"), result == WriteResult::Done); }),
              printed);
  }
}

}  // namespace
