#include "codegen/incbin_text.h"

#include <gtest/gtest.h>

namespace {

TEST(Incbin, MangledNamesFollowTheNamespace) {
  const std::tuple<const char*, bool, const char*> cases[] = {{"Data", false, "_ZN4Data3skyE"},
                                                              {"a::b", false, "_ZN1a1b3skyE"},
                                                              {"Data", true, "sky"},
                                                              {"std", false, "_ZSt3sky"},
                                                              {"std::ui", false, "_ZNSt2ui3skyE"},
                                                              {"standard", false, "_ZN8standard3skyE"},
                                                              {"abcdefghij", false, "_ZN10abcdefghij3skyE"}};
  for (const auto& [space, none, mangled] : cases)
    EXPECT_EQ(MangledDataName("sky", {.noNamespace = none, .nameSpace = space}), mangled) << space;
}

TEST(Incbin, PathsAreEscapedForTheAssembler) {
  const std::pair<std::string, std::string> cases[] = {
      {"/a\"b\\c", "/a\\\"b\\\\c"}, {"x\ny\x1f\x7f", "x\\012y\\037\\177"}, {" ~\xc3\xa9", " ~\xc3\xa9"}};
  for (const auto& [path, quoted] : cases)
    EXPECT_EQ(AssemblerQuoted(path), quoted);
}

struct Form {
  SourceStyle style;
  ArrayPlace place;
  std::vector<std::string> present;
  std::vector<std::string> absent;
};

TEST(Incbin, TextOfEachForm) {
  IncbinFile file{"/d/sky\"", {}};
  file.sha256[0] = 0xab;
  file.sha256[31] = 0x01;
  const std::string digest =
      "asm(HEXLOOM_INCBIN_OPEN\n    \"/* SHA-256 of the included file: ab" + std::string(60, '0') + "01 */\\n\"\n";
  const std::string label = "HEXLOOM_INCBIN_LABEL(\"_ZN4Data3skyE\")";
  const Form forms[] = {
      {{},
       ArrayPlace::OwnFile,
       {"#error \"This source", digest, "namespace Data {\nextern const unsigned char sky[4];\n}\n",
        "\".globl \" " + label + " \"\\n\"\n", "\".balign 16\\n\"\n    " + label + " \":\\n\"\n",
        "\".inc\" \"bin \\\"/d/sky\\\\\\\"\\\"\\n\"\n    \".byte 0\\n\"\n",
        "HEXLOOM_INCBIN_CLOSE(" + label + "));\n#undef"},
       {"__asm__"}},
      {{.alignment = 4096, .noNamespace = true},
       ArrayPlace::OwnFile,
       {"\nalignas(4096) extern const unsigned char sky[4];\n\n", "\".balign 4096\\n\""},
       {"namespace"}},
      {{.alignment = 8},
       ArrayPlace::CataloguePart,
       {digest,
        "}  // namespace\nalignas(8) extern const unsigned char sky[4] __asm__(\"hexloom_sky\");\nnamespace {\n",
        "\".balign 16\\n\"\n    \"hexloom_sky\" \":\\n\""},
       {"Generated", "#error", ".globl", "HEXLOOM_INCBIN_LABEL(\""}},
  };
  for (const Form& form : forms) {
    SourceStyle style = form.style;
    style.incbin = true;
    const std::string text = BuildIncbinText(file, 3, "sky", style, form.place);
    for (const std::string& part : form.present)
      EXPECT_NE(text.find(part), std::string::npos) << part << "\nin\n" << text;
    for (const std::string& part : form.absent)
      EXPECT_EQ(text.find(part), std::string::npos) << part << "\nin\n" << text;
    // The data source streams the same text, without the bytes.
    ByteBuffer buffer;
    buffer.Assign(reinterpret_cast<const unsigned char*>("abc"), 3);
    std::string streamed;
    EmitDataSource(buffer, "sky", style, streamed, form.place, &file);
    EXPECT_EQ(streamed, text);
    EXPECT_EQ(DataSourceText(buffer, "sky", style, form.place, &file).size(), text.size());
  }
}

}  // namespace
