#include "platform/console_log.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdint>

#include "support/capture.h"

namespace {

// Text as it is, format marks and bytes that aren't UTF-8 too, but a std::string ends at a zero byte, as C text does.
TEST(ConsoleLog, PiecesAreWrittenAsTheyAre) {
  EXPECT_EQ(CaptureConsole([] {
              ConsoleLog::Instance() << int32_t{INT32_MIN} << "|" << int32_t{0} << "|" << int64_t{INT64_MIN} << "|"
                                     << uint64_t{UINT64_MAX} << "|" << true << false << "|100%s %n"
                                     << std::string("\xff\0x", 3) << "\n";
            }),
            "-2147483648|0|-9223372036854775808|18446744073709551615|10|100%s %n\xff\n");
}

// A quiet run keeps of a worker's recording only what its replay shows: failures, in their colours.
TEST(ConsoleLog, AQuietRecordingKeepsOnlyFailures) {
  ConsoleLog& log = ConsoleLog::Instance();
  ConsoleLog::Recording recording;
  const std::string text = CaptureConsole([&] {
    log.SetQuiet(true);
    log.RecordThisThread(&recording);
    log << "Reading File: a\n";
    log << ConsoleColour(Colour::Error) << " [ERROR] x" << ConsoleColour(Colour::Notice) << " notice";
    log << ConsoleColour(Colour::Written) << "Output filepath: b\n";
    log.RecordThisThread(nullptr);
    log.Replay(recording);
  });
  EXPECT_EQ(text, " [ERROR] x notice");
  EXPECT_EQ(std::ranges::count(recording.pieces, false, &ConsoleLog::Recording::Piece::isColour), 2);
}

}  // namespace
