// What the in-memory scan tests can't show: a real folder's links and pipes, tags and folders as the command line gives
// them, errors ending a run.
#include "support/run.h"
#include "support/whole_run.h"

namespace {

INSTANTIATE_TEST_SUITE_P(
    Scans, WholeRun,
    testing::Values(
        // The folder's trailing separators are dropped; a folder link is followed once, and only inside the scanned
        // tree; a pipe and a link that leads nowhere are no regular files.
        RunCase{"LinksAndSpecialFiles",
                "mkdir in && touch in/i.bin && ln -s .. in/up && ln -s in again && ln -s /usr/share out && "
                "mkfifo pipe.bin && ln -s no broken.bin",
                {"-md5", "-p", "d//", ".bin"},
                kBanner + ("[Apply] d/again/i.bin\n" + Converted("d/again/i.bin", {"d/again/i.md5"})) +
                    "[Skip] d/broken.bin (not a regular file)\n"
                    "[Skip] d/out (folder link leads outside the scanned folder)\n"
                    "[Skip] d/pipe.bin (not a regular file)\n" +
                    kEnding},
        // Files are prepared on other threads, which keep the colours of their lines.
        RunCase{"ColoursOnATerminal", "touch x.bin", {"-md5", "-p", "d", ".bin"}, Golden("scan_colours.txt"), 0, true},
        // A failed scan ends the run before the next option.
        RunCase{"FileGivenAsTheFolderIsRefused",
                "touch file",
                {"-p", "d/file", ".bin", "-i", "d/file"},
                kBanner + Failed("Can't open folder: d/file"),
                kFailed}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
