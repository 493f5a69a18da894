#include "convert/listed_names.h"

#include <gtest/gtest.h>

namespace {

TEST(ListedNamesTest, HoldsEveryNameInAnyAsciiCaseAndMayHoldAnyNameBeyondAscii) {
  std::vector<FolderEntry> entries;
  for (const char* name : {"zeta.txt", "F000.SHA256", "a.md5"})
    entries.push_back({name, EntryKind::File, false, std::nullopt, std::nullopt});
  const ListedNames names = ListedNamesOf(entries);
  struct Case {
    const char* name;
    bool mayHold;
  };
  for (const Case& check : std::initializer_list<Case>{{"f000.sha256", true},
                                                       {"F000.SHA256", true},
                                                       {"zeta.txt", true},
                                                       {"a.md5", true},
                                                       {"b.md5", false},
                                                       {"f000.sha25", false},
                                                       {"", false},
                                                       {"\xc3\x84.md5", true},
                                                       {"\x80.md5", true},
                                                       {"ZETA~1.md5", true}})
    EXPECT_EQ(MayHold(names, check.name), check.mayHold) << check.name;
  EXPECT_FALSE(MayHold(ListedNamesOf({}), "a.md5"));
}

}  // namespace
