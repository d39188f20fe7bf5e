#include "platform/ui/help_viewer.h"

#include <QDesktopServices>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>
#include <map>
#include <memory>
#include <optional>
#include <utility>

#include "platform/core/built_in_modules.h"
#include "platform/core/install_folders.h"
#include "platform/ui/help_file.h"
#include "platform/ui/live_call.h"

namespace {

// Topics are addressed as help:/<entry name>, so relative links inside the
// file resolve against the topic that holds them, as on a web server.
constexpr const char* kScheme = "help";

// Where a window without a window type opens, and how large.
HelpWindowType PlainWindow() { return HelpWindowType{"", "", 80, 80, 640, 480}; }

QUrl TopicUrl(const std::string& topic) { return QUrl(QStringLiteral("help:/") + ToQt(topic)); }

std::string EntryOf(const QUrl& url) {
  QString path = url.path();
  while (path.startsWith(QLatin1Char('/'))) path.remove(0, 1);
  return FromQt(path);
}

class HelpBrowser final : public QTextBrowser {
 public:
  HelpBrowser(std::shared_ptr<const HelpFile> file, QWidget* parent) : QTextBrowser(parent), m_file(std::move(file)) {
    setOpenLinks(false);
    connect(this, &QTextBrowser::anchorClicked, this, [this](const QUrl& link) { Follow(link); });
  }

  void SetFile(std::shared_ptr<const HelpFile> file) {
    m_file = std::move(file);
    clearHistory();
  }

  void Follow(const QUrl& link) {
    const QUrl target = source().resolved(link);
    if (target.scheme() != QLatin1String(kScheme)) {
      // Pages outside the file are the desktop browser's business.
      static_cast<void>(QDesktopServices::openUrl(link));
      return;
    }
    // A link to a topic the file lacks leaves the page as it is.
    if (m_file->Topic(EntryOf(target))) setSource(target);
  }

  QVariant loadResource(int type, const QUrl& name) override {
    const QUrl resolved = name.scheme() == QLatin1String(kScheme) ? name : source().resolved(name);
    const auto* bytes = m_file->Topic(EntryOf(resolved));
    if (!bytes) return QTextBrowser::loadResource(type, name);
    QByteArray content(reinterpret_cast<const char*>(bytes->data()), static_cast<qsizetype>(bytes->size()));
    if (type == QTextDocument::HtmlResource) return QString::fromUtf8(content);
    return content;
  }

 private:
  std::shared_ptr<const HelpFile> m_file;
};

struct Viewer {
  HWND window = nullptr;
  HelpBrowser* browser = nullptr;
  bool created = false;
};

// The window type's rectangle is the outer window's, as the platform places
// help windows; a frame takes it only once it shows.
void PlaceOuterRect(HWND window, const HelpWindowType& type) {
  static_cast<void>(MoveWindow(window, type.left, type.top, type.width, type.height, TRUE));
}

// One viewer window per file and window type, as the platform reuses a
// window type's window for every later request.
std::map<std::pair<std::string, std::string>, Viewer>& Viewers() {
  static std::map<std::pair<std::string, std::string>, Viewer> viewers;
  return viewers;
}

HelpBrowser* BrowserOf(HWND window) {
  for (const auto& [key, viewer] : Viewers()) {
    if (viewer.window == window && LiveRecord(window)) return viewer.browser;
  }
  return nullptr;
}

std::optional<std::string> RequestedTopic(const HelpFile& file, const HelpWindowType& type, UINT command,
                                          DWORD_PTR data) {
  if (command == HH_DISPLAY_TOPIC) {
    if (data != 0) return std::string(reinterpret_cast<const char*>(data));
    return type.defaultTopic.empty() ? file.project.defaultTopic : type.defaultTopic;
  }
  if (command == HH_HELP_CONTEXT) {
    if (data > 0xFFFFFFFFu) return std::nullopt;
    const auto found = file.project.contexts.find(static_cast<std::uint32_t>(data));
    if (found == file.project.contexts.end()) return std::nullopt;
    return found->second;
  }
  return std::nullopt;
}

Viewer OpenViewer(const std::string& key, const std::string& typeName, const HelpWindowType& type,
                  std::shared_ptr<const HelpFile> file) {
  auto& viewers = Viewers();
  const auto slot = std::make_pair(key, typeName);
  if (auto found = viewers.find(slot); found != viewers.end()) {
    if (LiveRecord(found->second.window)) {
      found->second.browser->SetFile(std::move(file));
      return found->second;
    }
    viewers.erase(found);
  }
  CreateParams params;
  params.className = "HH Parent";
  params.style = WS_OVERLAPPEDWINDOW;
  params.text = type.title.empty() ? file->project.title : type.title;
  params.rect = RECT{type.left, type.top, type.left + type.width, type.top + type.height};
  HWND window = CreateWindowRecord(params);
  if (!window) return {};
  WindowRecord* rec = LiveRecord(window);
  auto* layout = new QVBoxLayout(rec->client);
  layout->setContentsMargins(0, 0, 0, 0);
  auto* browser = new HelpBrowser(std::move(file), rec->client);
  layout->addWidget(browser);
  Viewer viewer{window, browser, false};
  viewers[slot] = viewer;
  viewer.created = true;
  return viewer;
}

HWND Display(LPCSTR fileAndWindowType, UINT command, DWORD_PTR data) {
  if (command == HH_CLOSE_ALL) {
    for (auto& [key, viewer] : Viewers()) {
      if (LiveRecord(viewer.window)) static_cast<void>(DestroyWindow(viewer.window));
    }
    Viewers().clear();
    return nullptr;
  }
  if (fileAndWindowType == nullptr || (command != HH_DISPLAY_TOPIC && command != HH_HELP_CONTEXT)) return nullptr;
  const std::string target(fileAndWindowType);
  // The window type follows the last ">": a file name may hold one, a
  // window type's name never does.
  const std::size_t mark = target.rfind('>');
  const std::string path = target.substr(0, mark);
  const std::string typeName = mark == std::string::npos ? std::string() : target.substr(mark + 1);
  if (path.empty()) return nullptr;

  auto loaded = LoadHelpFile(path.c_str());
  if (!loaded) return nullptr;
  auto file = std::make_shared<const HelpFile>(std::move(*loaded));
  HelpWindowType type = PlainWindow();
  if (!typeName.empty()) {
    const auto found = file->project.windowTypes.find(typeName);
    if (found == file->project.windowTypes.end()) return nullptr;
    type = found->second;
  }
  const auto topic = RequestedTopic(*file, type, command, data);
  if (!topic || topic->empty()) return nullptr;
  const QUrl url = TopicUrl(*topic);
  if (!file->Topic(EntryOf(url))) return nullptr;

  const Viewer viewer = OpenViewer(path, typeName, type, std::move(file));
  if (!viewer.window) return nullptr;
  viewer.browser->setSource(url);
  static_cast<void>(ShowWindow(viewer.window, SW_SHOWNORMAL));
  if (viewer.created) PlaceOuterRect(viewer.window, type);
  static_cast<void>(SetForegroundWindow(viewer.window));
  return viewer.window;
}

}  // namespace

HWND HtmlHelpA(HWND /*caller*/, LPCSTR fileAndWindowType, UINT command, DWORD_PTR data) {
  return UiCall([&] { return Display(fileAndWindowType, command, data); });
}

BOOL HelpViewerFollowLink(HWND viewer, const std::string& href) {
  return UiCallOnLive([&] { return BrowserOf(viewer); }, FALSE,
                      [&](HelpBrowser& browser) -> BOOL {
                        browser.Follow(QUrl(ToQt(href)));
                        return TRUE;
                      });
}

std::string HelpViewerTopic(HWND viewer) {
  return UiCallOnLive([&] { return BrowserOf(viewer); }, std::string(),
                      [&](HelpBrowser& browser) -> std::string {
                        const QUrl shown = browser.source();
                        std::string topic = EntryOf(shown);
                        if (shown.hasFragment()) topic += "#" + FromQt(shown.fragment());
                        return topic;
                      });
}

void RegisterHelpViewerModule() {
  RegisterBuiltInModule(std::string(kHelpViewerModuleName),
                        [] { return FindInstalledFile(kHelpViewerModuleName).has_value(); });
}
