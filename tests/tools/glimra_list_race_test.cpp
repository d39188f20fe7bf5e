// glimra-list over files that another thread keeps rewriting and cutting
// short under it: whatever a run finds, it must end normally.

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/common/file_rewriter.h"
#include "tests/common/ico_builder.h"

namespace {

const std::string kCorpus = GLIMRA_CORPUS_DIR;

// The wait status of glimra-list run on files, its output discarded.
int RunGlimraList(const std::vector<std::string>& options, const std::vector<std::string>& files) {
  std::vector<std::string> args{GLIMRA_LIST_TOOL};
  args.insert(args.end(), options.begin(), options.end());
  args.insert(args.end(), files.begin(), files.end());
  std::vector<char*> argv;
  argv.reserve(args.size() + 1);
  for (std::string& arg : args) argv.push_back(arg.data());
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  pid_t pid = 0;
  const int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (spawned != 0) return -1;
  int status = 0;
  return ::waitpid(pid, &status, 0) == pid ? status : -1;
}

TEST(GlimraListUnderRewrites, EveryRunEndsNormally) {
  const auto module = ico_test::ReadFile(kCorpus + "/pe64/shell32.dll");
  const auto icons = ico_test::ReadFile(kCorpus + "/ico/idle.ico");
  ASSERT_FALSE(module.empty());
  ASSERT_GT(icons.size(), 4096u);
  const ico_test::TempDir dir;
  const std::vector<std::string> modules{dir.File("a.dll"), dir.File("b.dll"), dir.File("c.dll")};
  const std::vector<std::string> iconFiles{dir.File("d.ico")};
  std::vector<std::string> all = modules;
  all.insert(all.end(), iconFiles.begin(), iconFiles.end());

  int crashed = 0;
  int failed = 0;
  {
    const file_test::FileRewriter moduleRewriter(modules, module);
    const file_test::FileRewriter iconRewriter(iconFiles, icons);
    // 100 runs of 4 files: 400 reads, each racing the rewrites.
    for (int run = 0; run < 100; ++run) {
      const int status =
          RunGlimraList(run % 2 == 0 ? std::vector<std::string>{"--images"} : std::vector<std::string>{}, all);
      if (WIFSIGNALED(status)) {
        ++crashed;
      } else if (!WIFEXITED(status) || WEXITSTATUS(status) > 1) {
        ++failed;
      }
    }
  }
  EXPECT_EQ(crashed, 0) << "runs killed by a signal";
  // A file caught half rewritten may be reported unreadable (status 1);
  // anything else would be a failure of the tool itself.
  EXPECT_EQ(failed, 0) << "runs that ended with neither 0 nor 1";
  // The files are whole again: the same tool still lists them.
  EXPECT_EQ(RunGlimraList({"--images"}, all), 0);
}

}  // namespace
