#include "platform/console_log.h"

#include <gtest/gtest.h>

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

TEST(ConsoleLog, ControlBytesOfANameAreEscapedInOctal) {
  EXPECT_EQ(EscapeControlBytes(std::string("a\x1b[31mb\nc\x7f\x01\x1f \x80~\\\0", 17)),
            "a\\033[31mb\\012c\\177\\001\\037 \x80~\\\\000");
}

}  // namespace
