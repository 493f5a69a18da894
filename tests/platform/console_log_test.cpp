#include "platform/console_log.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>

#include "support/capture.h"

namespace {

TEST(ConsoleLog, NumberAndBoolPieces) {
  std::string printed = CaptureConsole([] {
    ConsoleLog::Instance() << int32_t{-1} << "|" << int32_t{INT32_MIN} << "|" << int32_t{0} << "|"
                           << int64_t{INT64_MIN} << "|" << int64_t{-1} << "|" << uint64_t{UINT64_MAX} << "|"
                           << uint64_t{0} << "|" << true << false;
  });
  EXPECT_EQ(printed, "-1|-2147483648|0|-9223372036854775808|-1|18446744073709551615|0|10");
}

TEST(ConsoleLog, TextPiecesAreWrittenAsTheyAre) {
  std::string printed = CaptureConsole([] {
    ConsoleLog::Instance() << "100%s %n" << std::string("\xff\xfe") << "" << "\n";
  });
  EXPECT_EQ(printed, "100%s %n\xff\xfe\n");
}

}  // namespace
