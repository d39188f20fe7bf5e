// The program's listing from end to end, on the offscreen platform: the real
// main window lists a folder tree recursively from a press of "&List Icon"
// until its caption returns, while a 10 ms timer measures how long the
// user-interface thread was kept from serving it. In the same run the
// engine alone does the same work on the same files, so the two speeds are
// compared side by side on the same machine state.

#include <QApplication>
#include <QEventLoop>
#include <QTimer>

#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "app/glimra_app.h"
#include "bench/engine_listing.h"
#include "bench/scratch_folder.h"
#include "bench/stall_meter.h"
#include "mainwnd/glimra_dlg.h"
#include "platform/ui/image_list.h"
#include "platform/ui/resources.h"
#include "platform/ui/ui_call.h"
#include "platform/ui/win_user.h"
#include "res/glimra_resources.h"
#include "res/resource_ids.h"
#include "res/version_data.h"

namespace {

// The goals: the window lists at least half as fast as the engine alone,
// never keeps the user waiting more than 50 ms, and every item shows its
// picture. Memory: a listing keeps at most 1 KiB per icon where the
// pictures repeat (a tree of copies of the same files) and 4.5 KiB per icon
// where every picture differs (its 32x32 pixels alone are 4 KiB); the goal
// of a tree is the line through both, 1 KiB per icon plus 3.5 KiB per
// different picture. Icons/Clear takes at most a second.
constexpr double kSpeedGoal = 0.5;
constexpr double kStallGoalMs = 50;
constexpr double kBytesPerIconGoal = 1024;
constexpr double kBytesPerPictureGoal = 3.5 * 1024;
constexpr double kClearGoalSeconds = 1;
// A listing that has not ended by then is reported as hung.
constexpr int kListingTimeoutMs = 10 * 60 * 1000;
constexpr int kSettleMs = 300;

// Resident bytes from the kernel's page count, the figure a user watches.
long long ResidentBytes() {
  std::FILE* statm = std::fopen("/proc/self/statm", "r");
  if (statm == nullptr) return 0;
  unsigned long long size = 0;
  unsigned long long resident = 0;
  const int read = std::fscanf(statm, "%llu %llu", &size, &resident);
  std::fclose(statm);
  return read == 2 ? static_cast<long long>(resident) * sysconf(_SC_PAGESIZE) : 0;
}

// User and system time of every thread so far: on a shared machine it tells
// the program's own work from waiting for a core.
double CpuSeconds() {
  rusage usage{};
  if (getrusage(RUSAGE_SELF, &usage) != 0) return 0;
  const auto seconds = [](const timeval& t) {
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6;
  };
  return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

void Pump(int ms) {
  QEventLoop loop;
  QTimer::singleShot(ms, &loop, &QEventLoop::quit);
  loop.exec();
}

std::string Caption(const CWnd& wnd) {
  CString text;
  wnd.GetWindowText(text);
  return text.str();
}

// The folder as the tree would have chosen it, the pattern as typed, and
// "&Recursive" ticked with a click, which lets the window decide whether
// "&List Icon" may start.
[[nodiscard]] bool ChooseRecursiveListing(CGlimraDlg& dlg, const std::string& folder, const std::string& pattern) {
  dlg.m_strFolder = folder;
  dlg.m_cboFileType.SetWindowText(pattern.c_str());
  if (dlg.m_chkRecursive.GetCheck() != BST_CHECKED) dlg.m_chkRecursive.Click();
  Pump(kSettleMs);
  if (dlg.m_chkRecursive.GetCheck() != BST_CHECKED) {
    std::fprintf(stderr, "\"&Recursive\" did not take the click\n");
    return false;
  }
  if (dlg.m_btnListIcon.IsWindowEnabled() == FALSE) {
    std::fprintf(stderr, "\"&List Icon\" stayed disabled with \"&Recursive\" ticked\n");
    return false;
  }
  return true;
}

struct RunFigures {
  double seconds = 0;
  double cpuSeconds = 0;
  int icons = 0;
  double worstStallMs = 0;
  long long residentGrowth = 0;
  int withoutPicture = 0;  // items whose image the list does not hold
  int pictures = 0;        // different pictures the image list holds
  double clearSeconds = 0;
};

// Items whose image index names no image of the list.
int ItemsWithoutPicture(CGlimraDlg* dlg) {
  const int images = ImageList_GetImageCount(dlg->m_pImageList->GetSafeHandle());
  int without = 0;
  for (int n = 0, count = dlg->m_lvIcons.GetItemCount(); n < count; ++n) {
    LVITEM item{};
    item.mask = LVIF_IMAGE;
    item.iItem = n;
    if (!dlg->m_lvIcons.GetItem(&item) || item.iImage < 0 || item.iImage >= images) ++without;
  }
  return without;
}

// One listing, from the press to the caption's return.
std::optional<RunFigures> ListOnce(CGlimraDlg* dlg) {
  RunFigures run;
  QEventLoop loop;
  bool started = false;
  bool ended = false;
  // The end is seen on a tick, so the time is at most one tick late. The
  // finish gives the caption back and clears the worker in one step; a
  // short listing may show "Stop &Listing" for less than a tick.
  StallMeter meter([&] {
    if (started && dlg->m_hWorkerThread == nullptr && Caption(dlg->m_btnListIcon) == "&List Icon") {
      ended = true;
      loop.quit();
    }
  });
  QTimer::singleShot(kListingTimeoutMs, &loop, &QEventLoop::quit);
  const long long before = ResidentBytes();
  const double cpuBefore = CpuSeconds();
  meter.Start();
  dlg->m_btnListIcon.Click();
  started = dlg->m_hWorkerThread != nullptr;
  if (!started) {
    std::fprintf(stderr, "the press started no listing\n");
  } else {
    loop.exec();
  }
  run.seconds = meter.ElapsedMs() / 1000;
  run.cpuSeconds = CpuSeconds() - cpuBefore;
  meter.Stop();
  run.worstStallMs = meter.WorstLatenessMs();
  run.icons = dlg->m_lvIcons.GetItemCount();
  run.residentGrowth = ResidentBytes() - before;
  run.withoutPicture = ItemsWithoutPicture(dlg);
  run.pictures = ImageList_GetPictureCount(dlg->m_pImageList->GetSafeHandle());
  if (!ended) {
    if (started) std::fprintf(stderr, "the listing did not end in time\n");
    return std::nullopt;
  }
  return run;
}

// Icons/Clear as the menu sends it; answers how long the clearing took.
std::optional<double> ClearIcons(CGlimraDlg* dlg) {
  QElapsedTimer clock;
  clock.start();
  static_cast<void>(dlg->SendMessage(WM_COMMAND, ID_ICONS_CLEAR, 0));
  const auto cleared = [dlg] {
    return dlg->m_hWorkerThread == nullptr && dlg->m_lvIcons.GetItemCount() == 0 &&
           dlg->m_btnListIcon.IsWindowEnabled();
  };
  while (!cleared() && clock.elapsed() < kListingTimeoutMs) QApplication::processEvents(QEventLoop::AllEvents, 10);
  if (!cleared()) return std::nullopt;
  return static_cast<double>(clock.nsecsElapsed()) / 1e9;
}

const char* Verdict(bool met) { return met ? "PASS" : "MISS"; }

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: bench_listing FOLDER [RUNS] [PATTERN]\n");
    return 2;
  }
  const std::string folder = argv[1];
  const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 3;
  const std::string pattern = argc > 3 ? argv[3] : "*.*";
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  // A runtime folder of its own, so the single-instance rule meets neither
  // a running copy of the program nor a test; made before any thread starts.
  const ScratchFolder runtime("glimra-bench");
  qputenv("XDG_RUNTIME_DIR", runtime.path().c_str());
  QApplication app(argc, argv);
  SetUiThread();
  RegisterResources(&GlimraResources());
  RegisterVersionInfo(&GlimraVersionInfo());

  // The program's own start: its main window, created and shown.
  auto* dlg = theApp.InitInstance() != FALSE ? dynamic_cast<CGlimraDlg*>(theApp.m_pMainWnd) : nullptr;
  std::vector<RunFigures> figures;
  if (dlg != nullptr) {
    Pump(kSettleMs);
    if (ChooseRecursiveListing(*dlg, folder, pattern)) {
      std::printf("%s, pattern %s, best of %d runs\n", folder.c_str(), pattern.c_str(), runs);
      for (int i = 0; i < runs; ++i) {
        const auto run = ListOnce(dlg);
        if (!run) break;
        figures.push_back(*run);
        const auto cleared = ClearIcons(dlg);
        figures.back().clearSeconds = cleared.value_or(-1);
        std::printf(
            "window run %d: %.3f s (cpu %.3f s), %d icons (%d without picture, %d different pictures), "
            "worst stall %.1f ms, resident %+.1f MiB; cleared in %.3f s\n",
            i + 1, run->seconds, run->cpuSeconds, run->icons, run->withoutPicture, run->pictures, run->worstStallMs,
            static_cast<double>(run->residentGrowth) / (1 << 20), cleared.value_or(-1));
        if (!cleared) break;
      }
    }
    dlg->DestroyWindow();
    Pump(kSettleMs);
  } else {
    std::fprintf(stderr, "the program did not start\n");
  }
  static_cast<void>(theApp.ExitInstance());
  if (figures.size() != static_cast<std::size_t>(runs)) return 1;
  if (figures.front().icons == 0) {
    std::fprintf(stderr, "the window listed no icons\n");
    return 1;
  }

  const auto files = FilesUnder(folder);
  ListingCounts counts;
  double engineSeconds = 1e30;
  double engineCpu = 0;
  for (int i = 0; i < runs; ++i) {
    QElapsedTimer clock;
    const double cpuBefore = CpuSeconds();
    clock.start();
    counts = ListLikeTheProgram(files);
    const double seconds = static_cast<double>(clock.nsecsElapsed()) / 1e9;
    if (seconds < engineSeconds) {
      engineSeconds = seconds;
      engineCpu = CpuSeconds() - cpuBefore;
    }
  }

  const auto best = std::min_element(figures.begin(), figures.end(),
                                     [](const RunFigures& a, const RunFigures& b) { return a.seconds < b.seconds; });
  const double windowRate = best->icons / best->seconds;
  const double engineRate = engineSeconds > 0 ? static_cast<double>(counts.icons) / engineSeconds : 0;
  double worstStall = 0;
  double worstClear = 0;
  int withoutPicture = 0;
  for (const auto& run : figures) {
    worstStall = std::max(worstStall, run.worstStallMs);
    worstClear = std::max(worstClear, run.clearSeconds);
    withoutPicture += run.withoutPicture;
  }
  // Memory from the first run: later ones reuse what the first one's window freed.
  const RunFigures& first = figures.front();
  const double perIcon = static_cast<double>(first.residentGrowth) / first.icons;
  const double perIconGoal = kBytesPerIconGoal + kBytesPerPictureGoal * first.pictures / first.icons;

  std::printf("window: %.3f s (cpu %.3f s), %d icons, %.0f icons/s\n", best->seconds, best->cpuSeconds, best->icons,
              windowRate);
  std::printf("engine: %.3f s (cpu %.3f s), %zu files, %zu modules, %zu icons, %.0f icons/s\n", engineSeconds,
              engineCpu, counts.files, counts.modules, counts.icons, engineRate);
  // Different counts mean the two did different work: no ratio is worth
  // printing then.
  if (static_cast<std::size_t>(best->icons) != counts.icons) {
    std::printf("the window listed %d icons, the engine %zu: not comparable\n", best->icons, counts.icons);
    return 1;
  }
  const double ratio = engineRate > 0 ? windowRate / engineRate : 0;
  std::printf("speed: window/engine %.2f (goal >= %.2f) %s\n", ratio, kSpeedGoal, Verdict(ratio >= kSpeedGoal));
  std::printf("stall: worst %.1f ms over all runs (goal <= %.0f ms) %s\n", worstStall, kStallGoalMs,
              Verdict(worstStall <= kStallGoalMs));
  std::printf("pictures: %d item(s) without a picture over all runs (goal 0) %s\n", withoutPicture,
              Verdict(withoutPicture == 0));
  std::printf("memory: %.0f bytes per icon, first run, %d icons over %d different pictures (goal <= %.0f) %s\n",
              perIcon, first.icons, first.pictures, perIconGoal, Verdict(perIcon <= perIconGoal));
  std::printf("clear: worst %.3f s (goal <= %.0f s) %s\n", worstClear, kClearGoalSeconds,
              Verdict(worstClear >= 0 && worstClear <= kClearGoalSeconds));
  return 0;
}
