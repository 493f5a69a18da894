#include "codegen/incbin_text.h"

#include <gtest/gtest.h>

namespace {

// What the linker matches with the header's declaration; compiled round trips show the common cases work.
TEST(Incbin, MangledNamesFollowTheNamespace) {
  const std::tuple<const char*, bool, const char*> cases[] = {{"Data", false, "_ZN4Data3skyE"},
                                                              {"a::b", false, "_ZN1a1b3skyE"},
                                                              {"Data", true, "sky"},
                                                              {"std", false, "_ZSt3sky"},
                                                              {"std::ui", false, "_ZNSt2ui3skyE"},
                                                              {"abcdefghij", false, "_ZN10abcdefghij3skyE"}};
  for (const auto& [space, none, mangled] : cases)
    EXPECT_EQ(MangledDataName("sky", {.noNamespace = none, .nameSpace = space}), mangled) << space;
}

}  // namespace
