// Writes the icons of programs, libraries and icon files into a folder:
// each icon group as one .ico file (the bytes the window's Save As writes),
// or with --png each image as an RGBA PNG.

#include <getopt.h>

#include <cstdio>
#include <string>
#include <vector>

#include "platform/core/file_mapping.h"
#include "support/icon/cursor_group.h"
#include "support/icon/icon_source.h"
#include "tools/cli_support.h"
#include "tools/icon_outputs.h"

namespace {

constexpr const char* kProgram = "glimra-extract";

void PrintHelp() {
  std::printf(
      "Usage: %s [OPTION]... FILE|FOLDER... -o DIR\n"
      "Write the icons of Windows programs, libraries and icon files into DIR: each\n"
      "icon group as one .ico file, named <file name>_<id>.ico, <file name>_<name>.ico\n"
      "or <file name>_<index>.ico, made safe for the file system.\n"
      "\n"
      "  -o, --output=DIR       the folder to write into (it must exist)\n"
      "      --png              write every image of each group as an RGBA PNG,\n"
      "                         <stem>_<width>x<height>_<bits>.png, instead\n"
      "      --size=N           with --png, only the image best for N pixels per\n"
      "                         group: the smallest at least N wide, deepest first,\n"
      "                         else the largest; never scaled\n"
      "      --id=N             only groups numbered N (repeatable)\n"
      "      --name=S           only groups named S, in any letter case (repeatable)\n"
      "      --index=K          only the K-th icon of each file, from 0 (repeatable)\n"
      "      --cursors          write the cursor groups of programs and libraries\n"
      "                         (hot spots kept) as .cur files instead of their icons;\n"
      "                         .cur files named as inputs are always read as cursors\n"
      "  -r, --recursive        walk each FOLDER: depth first, names in order\n"
      "      --pattern=PATTERN  with -r, read only files matching PATTERN\n"
      "                         (wildcards * and ?; default *.*: every file)\n"
      "  -f, --force            replace files that exist (never otherwise)\n"
      "  -h, --help             display this help and exit\n"
      "  -V, --version          output version information and exit\n"
      "\n"
      "Each file written is named on stdout. A file is written whole or not at all.\n"
      "Exit status: 0 when every file was read and every output written, 1 when some\n"
      "file could not be read or some output not written, 2 for a usage error.\n",
      kProgram);
}

struct Selection {
  std::vector<unsigned> ids;
  std::vector<std::string> names;
  std::vector<unsigned> indices;

  [[nodiscard]] bool Empty() const { return ids.empty() && names.empty() && indices.empty(); }
  [[nodiscard]] bool Takes(const IconKey& key, unsigned position) const;
};

bool SameNameIgnoringCase(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    const auto fold = [](char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; };
    if (fold(a[i]) != fold(b[i])) return false;
  }
  return true;
}

// Resource names compare as the platform's lookup compares them: ASCII
// letters without regard to case.
bool Selection::Takes(const IconKey& key, unsigned position) const {
  if (Empty()) return true;
  for (const unsigned index : indices) {
    if (index == position) return true;
  }
  if (key.kind == IconKey::Kind::Id) {
    for (const unsigned id : ids) {
      if (id == key.number) return true;
    }
  }
  if (key.kind == IconKey::Kind::Name) {
    for (const std::string& name : names) {
      if (SameNameIgnoringCase(name, key.name)) return true;
    }
  }
  return false;
}

struct Job {
  bool png = false;
  bool cursors = false;
  unsigned size = 0;  // 0: every image
  Overwrite overwrite = Overwrite::Never;
  Selection selection;
};

std::vector<ImageRef> ImagesOf(const std::vector<CursorImage>& cursor) {
  std::vector<ImageRef> images;
  images.reserve(cursor.size());
  for (const CursorImage& image : cursor) {
    images.push_back(ImageRef{image.bytes.bytes(), image.width, image.height, image.bitCount});
  }
  return images;
}

class Extractor {
 public:
  Extractor(const Job& job, std::string folder, Reporter& reporter)
      : m_job(job),
        m_names(std::move(folder)),
        m_reporter(reporter),
        m_pngs(m_pool, [this](const std::string& destination, const Expected<std::uint64_t>& result) {
          Report(destination, result);
        }) {}

  // Reads one file and writes its outputs; every output and failure is
  // reported before it returns, in the order the file gave them.
  void File(const std::string& path);

 private:
  void ReadFile(const std::string& path);
  void Failure(const std::string& path, const std::string& reason);
  void Written(const std::string& destination, const Expected<std::uint64_t>& result);
  void Report(const std::string& destination, const Expected<std::uint64_t>& result);
  void Pngs(const std::vector<ImageRef>& images, const std::string& stem);
  void CursorFile(const std::string& path);
  void ModuleCursors(const std::string& path, HMODULE module);
  void Cursor(const std::vector<CursorImage>& images, const std::string& stem);

  const Job& m_job;
  OutputNames m_names;
  Reporter& m_reporter;
  TaskPool m_pool;
  ImageOutputBatch m_pngs;
};

// PNGs are written in batches on the pool's threads; whatever is reported
// directly waits for the queued ones first, so the order stays the file's.
void Extractor::Failure(const std::string& path, const std::string& reason) {
  m_pngs.Flush();
  m_reporter.Failure(path, reason);
}

void Extractor::Written(const std::string& destination, const Expected<std::uint64_t>& result) {
  m_pngs.Flush();
  Report(destination, result);
}

void Extractor::Report(const std::string& destination, const Expected<std::uint64_t>& result) {
  if (result) {
    std::printf("%s\n", destination.c_str());
  } else {
    m_reporter.Failure(destination, result.error().what);
  }
}

void Extractor::Pngs(const std::vector<ImageRef>& images, const std::string& stem) {
  WriteImageOutputs(images, stem, m_job.size, m_job.overwrite, m_names, m_pngs);
}

void Extractor::Cursor(const std::vector<CursorImage>& images, const std::string& stem) {
  if (m_job.png) {
    Pngs(ImagesOf(images), stem);
    return;
  }
  const std::string destination = m_names.Claim(stem, ".cur");
  Written(destination, WriteCurFile(images, destination, m_job.overwrite));
}

void Extractor::CursorFile(const std::string& path) {
  const auto mapping = FileMapping::Open(path.c_str());
  const auto images =
      mapping ? ParseCurFile(ByteReader(mapping->bytes())) : Expected<std::vector<CursorImage>>(mapping.error());
  if (!images) {
    Failure(path, "not a cursor file");
    return;
  }
  // A cursor file is one cursor, index 0, as an icon file is one icon.
  if (m_job.selection.Takes(IconKey{}, 0)) Cursor(*images, FileNameOf(path) + "_0");
}

void Extractor::ModuleCursors(const std::string& path, HMODULE module) {
  const auto names = ModuleCursorGroupNames(module);
  for (std::size_t position = 0; position < names.size(); ++position) {
    const ResourceName& name = names[position];
    const IconKey key = IconKeyOf(name);
    if (!m_job.selection.Takes(key, static_cast<unsigned>(position))) continue;
    const auto images = ModuleCursorGroup(module, name.id());
    if (!images) {
      Failure(path, "cursor " + key.Label() + " cannot be read");
      continue;
    }
    Cursor(*images, IconOutputStem(path, key));
  }
}

void Extractor::File(const std::string& path) {
  ReadFile(path);
  m_pngs.Flush();
}

void Extractor::ReadFile(const std::string& path) {
  if (auto problem = FileReadProblem(path.c_str())) {
    Failure(path, *problem);
    return;
  }
  if (HasCurExtension(path)) {
    CursorFile(path);
    return;
  }
  const IconSource source(path.c_str());
  if (m_job.cursors) {
    // Only modules hold cursor groups; other files give none.
    if (source.way() == ListingWay::Module) ModuleCursors(path, source.module());
    return;
  }
  const std::vector<IconKey> keys = source.Icons();
  if (keys.empty() && source.way() == ListingWay::IconFile) {
    Failure(path, "not an icon file");
    return;
  }
  for (std::size_t position = 0; position < keys.size(); ++position) {
    const IconKey& key = keys[position];
    if (!m_job.selection.Takes(key, static_cast<unsigned>(position))) continue;
    const UniqueIconResource group = source.Group(key);
    if (group == nullptr) {
      Failure(path, "icon " + key.Label() + " cannot be read");
      continue;
    }
    const std::string stem = IconOutputStem(path, key);
    if (m_job.png) {
      Pngs(ImagesOf(group.get()), stem);
    } else {
      WriteIconOutput(group.get(), stem, m_job.overwrite, m_names,
                      [this](const std::string& destination, const Expected<std::uint64_t>& result) {
                        Written(destination, result);
                      });
    }
  }
}

}  // namespace

int main(int argc, char** argv) {
  enum { kPng = 256, kSize, kId, kName, kIndex, kCursors };
  static const option kOptions[] = {{"output", required_argument, nullptr, 'o'},
                                    {"png", no_argument, nullptr, kPng},
                                    {"size", required_argument, nullptr, kSize},
                                    {"id", required_argument, nullptr, kId},
                                    {"name", required_argument, nullptr, kName},
                                    {"index", required_argument, nullptr, kIndex},
                                    {"cursors", no_argument, nullptr, kCursors},
                                    {"recursive", no_argument, nullptr, 'r'},
                                    {"pattern", required_argument, nullptr, 'p'},
                                    {"force", no_argument, nullptr, 'f'},
                                    {"help", no_argument, nullptr, 'h'},
                                    {"version", no_argument, nullptr, 'V'},
                                    {nullptr, 0, nullptr, 0}};
  Reporter reporter(kProgram);
  Job job;
  WalkChoice walk;
  std::string folder;
  opterr = 0;
  for (int c; (c = getopt_long(argc, argv, ":o:rfhV", kOptions, nullptr)) != -1;) {
    long number = 0;
    switch (c) {
      case 'o':
        folder = optarg;
        break;
      case kPng:
        job.png = true;
        break;
      case kCursors:
        job.cursors = true;
        break;
      case kSize:
        if (!ParseNumber(optarg, 1, 65535, number)) return reporter.Usage(std::string("bad --size: ") + optarg);
        job.size = static_cast<unsigned>(number);
        break;
      case kId:
        if (!ParseNumber(optarg, 0, 65535, number)) return reporter.Usage(std::string("bad --id: ") + optarg);
        job.selection.ids.push_back(static_cast<unsigned>(number));
        break;
      case kName:
        job.selection.names.emplace_back(optarg);
        break;
      case kIndex:
        if (!ParseNumber(optarg, 0, 65535, number)) return reporter.Usage(std::string("bad --index: ") + optarg);
        job.selection.indices.push_back(static_cast<unsigned>(number));
        break;
      case 'r':
        walk.recursive = true;
        break;
      case 'p':
        walk.pattern = optarg;
        break;
      case 'f':
        job.overwrite = Overwrite::Replace;
        break;
      default:
        return FinishCommonOption(c, argv, reporter, PrintHelp);
    }
  }
  if (folder.empty()) return reporter.Usage("no output folder (-o DIR)");
  if (optind >= argc) return reporter.Usage("no file named");
  if (job.size != 0 && !job.png) return reporter.Usage("--size needs --png");
  if (!IsFolder(folder)) {
    reporter.Failure(folder, "not a folder");
    return reporter.Status();
  }
  Extractor extractor(job, folder, reporter);
  ForEachInput(std::vector<std::string>(argv + optind, argv + argc), walk,
               [&](const std::string& path) { extractor.File(path); });
  return reporter.Status();
}
