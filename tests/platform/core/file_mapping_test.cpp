// Mapped files that shrink under the reader: vanished pages read as zeros
// and the mapping says it is damaged; faults that are not ours still end
// the process, or reach the handler that was there before; with every guard
// slot taken a file is read into memory and cannot change under the reader.

#include "platform/core/file_mapping.h"

#include <sys/mman.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <csignal>
#include <cstdint>
#include <vector>

#include "platform/core/mapping_guard.h"
#include "tests/common/ico_builder.h"

namespace {

constexpr std::size_t kPage = 4096;
constexpr std::size_t kFileSize = 3 * kPage + 100;

// A file of kFileSize bytes, none of them zero, in a folder of its own.
struct PatternFile {
  PatternFile() : bytes(kFileSize) {
    for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<std::uint8_t>(1 + i % 251);
    written = ico_test::WriteFile(path, bytes);
  }
  ico_test::TempDir dir;
  std::string path = dir.File("file.bin");
  std::vector<std::uint8_t> bytes;
  bool written = false;
};

// Reads through a volatile pointer, so the load really happens here.
std::uint8_t ReadAt(const FileMapping& mapping, std::size_t offset) {
  return *static_cast<const volatile std::uint8_t*>(mapping.bytes().data() + offset);
}

struct CutCase {
  const char* name;
  off_t cutTo;
  std::size_t readAt;
  bool vanished;  // the page read lies past the new end
};

class FileMappingCut : public ::testing::TestWithParam<CutCase> {};

TEST_P(FileMappingCut, VanishedPagesReadAsZerosAndMarkTheMappingDamaged) {
  const CutCase& c = GetParam();
  const PatternFile file;
  ASSERT_TRUE(file.written);
  const auto& bytes = file.bytes;
  auto mapping = FileMapping::Open(file.path.c_str());
  ASSERT_TRUE(mapping);
  // Touched once while whole, so the page was in the mapping before the cut.
  ASSERT_EQ(ReadAt(*mapping, c.readAt), bytes[c.readAt]);
  ASSERT_EQ(::truncate(file.path.c_str(), c.cutTo), 0);
  EXPECT_EQ(ReadAt(*mapping, c.readAt), c.vanished ? 0 : bytes[c.readAt]);
  EXPECT_EQ(mapping->damaged(), c.vanished);
  // Reading on, and the kept pages, still work.
  EXPECT_EQ(ReadAt(*mapping, c.readAt), c.vanished ? 0 : bytes[c.readAt]);
  EXPECT_EQ(ReadAt(*mapping, 0), c.cutTo > 0 ? bytes[0] : 0);
}

INSTANTIATE_TEST_SUITE_P(Cuts, FileMappingCut,
                         ::testing::Values(CutCase{"EmptiedLastPage", 0, kFileSize - 1, true},
                                           CutCase{"OnePageLeftThirdPage", kPage, 2 * kPage + 7, true},
                                           CutCase{"OnePageLeftFirstPage", kPage, 9, false},
                                           // A page with some file left behind it stays: no fault, no damage.
                                           CutCase{"CutInsideTheReadPage", kPage + 10, kPage + 5, false},
                                           CutCase{"GrownFile", static_cast<off_t>(kFileSize + kPage), kFileSize - 1,
                                                   false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(FileMapping, AMappingMovedKeepsItsGuardAndTheFileRereadIsWhole) {
  const PatternFile file;
  ASSERT_TRUE(file.written);
  const std::string& path = file.path;
  const auto& bytes = file.bytes;
  auto opened = FileMapping::Open(path.c_str());
  ASSERT_TRUE(opened);
  FileMapping moved = std::move(*opened);
  ASSERT_EQ(::truncate(path.c_str(), 0), 0);
  EXPECT_EQ(ReadAt(moved, kFileSize - 1), 0);
  EXPECT_TRUE(moved.damaged());
  ASSERT_TRUE(ico_test::WriteFile(path, bytes));
  const auto again = FileMapping::Open(path.c_str());
  ASSERT_TRUE(again);
  EXPECT_EQ(ReadAt(*again, kFileSize - 1), bytes.back());
  EXPECT_FALSE(again->damaged());
}

// Opens more mappings than there are guard slots, then empties the file:
// the guarded ones read zeros, the copies the bytes they held.
TEST(FileMapping, PastTheGuardSlotsFilesAreReadIntoMemoryAndSlotsComeBack) {
  const PatternFile file;
  const std::string& path = file.path;
  const auto& bytes = file.bytes;
  for (int round = 0; round < 2; ++round) {
    SCOPED_TRACE(round);
    ASSERT_TRUE(ico_test::WriteFile(path, bytes));
    std::vector<FileMapping> mappings;
    for (std::size_t i = 0; i < kMaxGuardedMappings + 8; ++i) {
      auto mapping = FileMapping::Open(path.c_str());
      ASSERT_TRUE(mapping);
      mappings.push_back(std::move(*mapping));
    }
    ASSERT_EQ(::truncate(path.c_str(), 0), 0);
    std::size_t zeros = 0;
    for (const FileMapping& mapping : mappings) {
      const std::uint8_t value = ReadAt(mapping, 2 * kPage);
      EXPECT_EQ(mapping.damaged(), value == 0);
      if (value == 0) {
        ++zeros;
      } else {
        EXPECT_EQ(value, bytes[2 * kPage]);
      }
    }
    // Nothing else in this program holds a mapping now: every slot is ours,
    // and the first round's are free again in the second.
    EXPECT_EQ(zeros, kMaxGuardedMappings);
  }
}

// A file mapped directly, not through FileMapping, and emptied: reading it
// raises a real SIGBUS.
[[noreturn]] void FaultOutsideOurMappings() {
  char name[] = "/tmp/glimra-foreign-XXXXXX";
  const int fd = ::mkstemp(name);
  if (fd < 0 || ::ftruncate(fd, static_cast<off_t>(kPage)) != 0) std::_Exit(3);
  void* data = ::mmap(nullptr, kPage, PROT_READ, MAP_SHARED, fd, 0);
  ::unlink(name);
  if (data == MAP_FAILED || ::ftruncate(fd, 0) != 0) std::_Exit(3);
  static_cast<void>(*static_cast<const volatile char*>(data));
  std::_Exit(4);
}

void OpenAnyMapping() { static_cast<void>(FileMapping::Open(GLIMRA_CORPUS_DIR "/pe32/notepad.exe")); }

// A signal the guard does not repair ends the process as it would without
// the guard: by SIGBUS, or, in a sanitizer build, through the sanitizer's
// own handler, which reports it and aborts.
#if defined(__SANITIZE_ADDRESS__)
bool EndedAsWithoutTheGuard(int status) {
  return WIFSIGNALED(status) || (WIFEXITED(status) && WEXITSTATUS(status) != 4);
}
constexpr const char* kFaultReport = "Sanitizer.*BUS";
#else
bool EndedAsWithoutTheGuard(int status) { return WIFSIGNALED(status) && WTERMSIG(status) == SIGBUS; }
constexpr const char* kFaultReport = "";
#endif

TEST(FileMappingDeathTest, FaultsOutsideOurMappingsStillEndTheProcess) {
  EXPECT_EXIT(
      {
        OpenAnyMapping();
        FaultOutsideOurMappings();
      },
      EndedAsWithoutTheGuard, kFaultReport);
  EXPECT_EXIT(
      {
        OpenAnyMapping();
        std::raise(SIGBUS);
        std::_Exit(4);
      },
      EndedAsWithoutTheGuard, "");
}

void ExitFortyTwo(int /*signal*/, siginfo_t* /*info*/, void* /*context*/) { std::_Exit(42); }

TEST(FileMappingDeathTest, FaultsOutsideOurMappingsReachTheHandlerInstalledBefore) {
  // A fresh process, so that the guard is installed only after this
  // handler, as it is after a sanitizer's or a fuzzer's.
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        struct sigaction before {};
        before.sa_sigaction = ExitFortyTwo;
        before.sa_flags = SA_SIGINFO;
        sigemptyset(&before.sa_mask);
        ::sigaction(SIGBUS, &before, nullptr);
        OpenAnyMapping();
        FaultOutsideOurMappings();
      },
      ::testing::ExitedWithCode(42), "");
}

}  // namespace
