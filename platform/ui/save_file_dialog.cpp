// The save-file dialog: Qt's own file dialog in its widget form, embedded in
// a window of this layer under the caller's panel, run modally over the
// owner until the user chooses a name or cancels.

#include "platform/ui/save_file_dialog.h"

#include <QCheckBox>
#include <QDir>
#include <QEventLoop>
#include <QFileDialog>
#include <QGridLayout>
#include <QPointer>
#include <QStringList>
#include <algorithm>
#include <cstring>
#include <map>
#include <memory>
#include <optional>

#include "platform/ui/frame_widget.h"
#include "platform/ui/resources.h"
#include "platform/ui/save_file_panel.h"
#include "platform/ui/ui_call.h"
#include "platform/ui/window_record.h"

namespace {

thread_local DWORD t_lastError = 0;

struct Outcome {
  BOOL chosen = FALSE;
  DWORD error = 0;
};

SaveFileHook& Hook() {
  static SaveFileHook hook;
  return hook;
}

// Ends the run where it is embedded instead of hiding itself.
class EmbeddedFileDialog final : public QFileDialog {
 public:
  explicit EmbeddedFileDialog(QWidget* parent) : QFileDialog(parent) {
    setWindowFlags(Qt::Widget);
    setOption(QFileDialog::DontUseNativeDialog, true);
  }
  bool finished = false;
  bool accepted = false;
  QEventLoop* loop = nullptr;

  void done(int result) override {
    if (result == QDialog::Accepted && selectedFiles().isEmpty()) return;
    finished = true;
    accepted = result == QDialog::Accepted;
    if (loop) loop->quit();
  }
};

// The dialog's window: the panel fills it, the file dialog sits at the
// panel's placeholder and both follow the window's size.
class SaveDialogWindow final : public CWnd {
 public:
  QPointer<EmbeddedFileDialog> files;
  SaveFilePanel* panel = nullptr;
  QSize margins;  // the panel's width and height outside its placeholder

  void Layout(QSize client) {
    if (!files) return;
    const QSize room(std::max(0, client.width() - margins.width()), std::max(0, client.height() - margins.height()));
    if (panel) {
      panel->Fit(room);
      files->setGeometry(QRect(panel->Placeholder().topLeft(), room));
    } else {
      files->setGeometry(QRect(QPoint(0, 0), room));
    }
  }

  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    switch (message) {
      case WM_CLOSE:
        // The close box is the dialog's Cancel.
        if (EmbeddedFileDialog* f = files.data(); f != nullptr) f->reject();
        return 0;
      case WM_SIZE:
        Layout(QSize(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)));
        return 0;
      case WM_NCDESTROY:
        // Destroyed from outside while it runs: the run ends as a cancel.
        if (EmbeddedFileDialog* f = files.data(); f != nullptr && f->loop != nullptr) f->loop->quit();
        return CWnd::WindowProc(message, wParam, lParam);
      default:
        return CWnd::WindowProc(message, wParam, lParam);
    }
  }
};

// "text\0pattern\0...\0\0" as Qt's "text (patterns)" filters; a text that
// already ends with its patterns in parentheses is kept as it stands.
QStringList NameFilters(LPCSTR filter) {
  QStringList out;
  while (filter && *filter) {
    const QString text = QString::fromUtf8(filter);
    filter += std::strlen(filter) + 1;
    QString patterns = QString::fromUtf8(filter);
    if (*filter) filter += std::strlen(filter) + 1;
    patterns.replace(u';', u' ');
    patterns = patterns.simplified();
    if (patterns.isEmpty()) patterns = QStringLiteral("*");
    const QString suffix = QStringLiteral("(") + patterns + QStringLiteral(")");
    out << (text.endsWith(suffix) ? text : text + QStringLiteral(" ") + suffix);
  }
  return out;
}

bool ValidSize(DWORD size) { return size == OPENFILENAME_SIZE_VERSION_400A || size == sizeof(OPENFILENAMEA); }

// Copies the chosen path into the caller's buffer with its offsets; false
// (and an empty buffer) when it does not fit.
bool StoreChosen(OPENFILENAMEA& ofn, const std::string& path) {
  if (path.size() + 1 > ofn.nMaxFile) {
    ofn.lpstrFile[0] = '\0';
    return false;
  }
  std::memcpy(ofn.lpstrFile, path.c_str(), path.size() + 1);
  const std::size_t slash = path.rfind('/');
  const std::size_t name = slash == std::string::npos ? 0 : slash + 1;
  const std::size_t dot = path.rfind('.');
  ofn.nFileOffset = static_cast<WORD>(std::min<std::size_t>(name, 0xFFFF));
  ofn.nFileExtension =
      static_cast<WORD>(dot != std::string::npos && dot >= name ? std::min<std::size_t>(dot + 1, 0xFFFF) : 0);
  if (ofn.lpstrFileTitle && ofn.nMaxFileTitle > 0) {
    const std::string title = path.substr(name);
    const std::size_t n = std::min<std::size_t>(title.size(), ofn.nMaxFileTitle - 1);
    std::memcpy(ofn.lpstrFileTitle, title.data(), n);
    ofn.lpstrFileTitle[n] = '\0';
  }
  return true;
}

// The hook learns the chosen name as the platform tells it: the
// registered message, then CDN_FILEOK. An Explorer-style hook can only
// refuse a name through a message result, which this layer does not offer,
// so the answers are not read.
void TellChosen(OPENFILENAMEA& ofn, SaveFilePanel* panel) {
  if (!panel || !LiveRecord(panel->m_hWnd)) return;
  HWND h = panel->m_hWnd;
  DeliverMessage(h, RegisterWindowMessageA(FILEOKSTRINGA), 0, reinterpret_cast<LPARAM>(&ofn));
  if (!LiveRecord(h)) return;
  OFNOTIFYA notify{{h, 0, CDN_FILEOK}, &ofn, ofn.lpstrFile};
  DeliverMessage(h, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&notify));
}

class SaveRun {
 public:
  explicit SaveRun(OPENFILENAMEA& ofn) : m_ofn(ofn) {}
  SaveRun(const SaveRun&) = delete;
  SaveRun& operator=(const SaveRun&) = delete;
  ~SaveRun() {
    if (m_panel && LiveRecord(m_panel->m_hWnd)) m_panel->DestroyWindow();
    if (m_window.m_hWnd) m_window.DestroyWindow();
    if (m_disabledOwner && LiveRecord(m_owner)) ::EnableWindow(m_owner, TRUE);
    if (m_disabledOwner && LiveRecord(m_owner)) ::SetForegroundWindow(m_owner);
  }

  Outcome Run() {
    const DialogTemplate* panelTemplate = nullptr;
    if (m_ofn.Flags & OFN_ENABLETEMPLATE) {
      if (!IS_INTRESOURCE(m_ofn.lpTemplateName) || !(panelTemplate = FindDialogTemplate(static_cast<UINT>(
                                                         reinterpret_cast<std::uintptr_t>(m_ofn.lpTemplateName))))) {
        return Fail(CDERR_FINDRESFAILURE);
      }
    }
    m_owner = LiveRecord(m_ofn.hwndOwner);
    m_disabledOwner = m_owner && ::IsWindowEnabled(m_owner);
    if (m_disabledOwner) ::EnableWindow(m_owner, FALSE);

    const char* title = m_ofn.lpstrTitle ? m_ofn.lpstrTitle : "Save As";
    CWnd* owner = m_owner ? CWnd::FromHandle(m_owner) : nullptr;
    if (!m_window.CreateEx(0, WC_DIALOG, title, WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME,
                           RECT{0, 0, 400, 300}, owner, 0)) {
      return Fail(CDERR_DIALOGFAILURE);
    }
    QWidget* client = LiveRecord(m_window.m_hWnd)->client;
    auto* files = new EmbeddedFileDialog(client);
    m_window.files = files;
    Configure(*files);

    if (panelTemplate) {
      m_panel = std::make_unique<SaveFilePanel>(m_ofn);
      if (!m_panel->CreateInside(*panelTemplate, m_window)) return Fail(CDERR_DIALOGFAILURE);
      m_window.panel = m_panel.get();
      const QSize design = m_panel->DesignSize();
      m_window.margins = design - m_panel->Placeholder().size();
    }
    files->raise();
    files->show();
    const QSize wanted = files->sizeHint().expandedTo(QSize(560, 340));
    const QSize clientSize = wanted + m_window.margins;
    if (auto* frame = dynamic_cast<FrameWidget*>(LiveRecord(m_window.m_hWnd)->widget)) {
      frame->SetClientSize(clientSize.width(), clientSize.height());
      frame->setMinimumSize(frame->size());
    }
    m_window.Layout(clientSize);
    m_window.CenterWindow(owner);
    LiveRecord(m_window.m_hWnd)->widget->setWindowModality(Qt::ApplicationModal);
    m_window.ShowWindow(SW_SHOW);
    if (m_panel) {
      OFNOTIFYA notify{{m_panel->m_hWnd, 0, CDN_INITDONE}, &m_ofn, nullptr};
      DeliverMessage(m_panel->m_hWnd, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&notify));
    }

    std::string chosen;
    SaveFileRun run;
    run.dialog = m_window.m_hWnd;
    run.panel = m_panel ? m_panel->m_hWnd : nullptr;
    run.ofn = &m_ofn;
    run.folder = FromQt(files->directory().absolutePath());
    std::optional<std::string> answer = Hook() ? Hook()(run) : std::nullopt;
    if (answer) {
      chosen = *answer;
    } else {
      QEventLoop loop;
      files->loop = &loop;
      if (!files->finished) loop.exec(QEventLoop::DialogExec);
      if (!LiveRecord(m_window.m_hWnd) || !m_window.files) return Fail(0);
      files->loop = nullptr;
      if (files->accepted) chosen = FromQt(QDir::toNativeSeparators(files->selectedFiles().value(0)));
    }
    if (chosen.empty()) return Fail(0);
    if (!StoreChosen(m_ofn, chosen)) return Fail(FNERR_BUFFERTOOSMALL);
    if (m_readOnly) m_ofn.Flags = m_readOnly->isChecked() ? m_ofn.Flags | OFN_READONLY : m_ofn.Flags & ~OFN_READONLY;
    TellChosen(m_ofn, m_panel.get());
    return Outcome{TRUE, 0};
  }

 private:
  static Outcome Fail(DWORD error) { return Outcome{FALSE, error}; }

  void Configure(EmbeddedFileDialog& files) {
    files.setAcceptMode(QFileDialog::AcceptSave);
    files.setFileMode(QFileDialog::AnyFile);
    const QStringList filters = NameFilters(m_ofn.lpstrFilter);
    if (!filters.isEmpty()) {
      files.setNameFilters(filters);
      const qsizetype index = m_ofn.nFilterIndex > 0 ? static_cast<qsizetype>(m_ofn.nFilterIndex) - 1 : 0;
      files.selectNameFilter(filters.value(std::min(index, filters.size() - 1)));
    }
    const QString folder = m_ofn.lpstrInitialDir && *m_ofn.lpstrInitialDir ? QString::fromUtf8(m_ofn.lpstrInitialDir)
                                                                           : QDir::currentPath();
    files.setDirectory(folder);
    if (m_ofn.lpstrDefExt && *m_ofn.lpstrDefExt) files.setDefaultSuffix(QString::fromUtf8(m_ofn.lpstrDefExt));
    files.setOption(QFileDialog::DontConfirmOverwrite, !(m_ofn.Flags & OFN_OVERWRITEPROMPT));
    if (m_ofn.lpstrFile[0] != '\0') files.selectFile(QString::fromUtf8(m_ofn.lpstrFile));
    // The platform's dialog shows its read-only box unless told to hide it,
    // in a save dialog too; the caller reads the choice back from Flags.
    auto* grid = qobject_cast<QGridLayout*>(files.layout());
    if (!(m_ofn.Flags & OFN_HIDEREADONLY) && grid) {
      m_readOnly = new QCheckBox(QStringLiteral("Open as &read-only"), &files);
      m_readOnly->setObjectName(QStringLiteral("readOnlyBox"));
      m_readOnly->setChecked(m_ofn.Flags & OFN_READONLY);
      grid->addWidget(m_readOnly, grid->rowCount(), 1, 1, std::max(1, grid->columnCount() - 1));
    }
  }

  OPENFILENAMEA& m_ofn;
  SaveDialogWindow m_window;
  std::unique_ptr<SaveFilePanel> m_panel;
  QPointer<QCheckBox> m_readOnly;
  HWND m_owner = nullptr;
  bool m_disabledOwner = false;
};

}  // namespace

BOOL GetSaveFileNameA(LPOPENFILENAMEA ofn) {
  const Outcome outcome = UiCall([&]() -> Outcome {
    if (!ofn || !ValidSize(ofn->lStructSize) || !ofn->lpstrFile || ofn->nMaxFile == 0) {
      return Outcome{FALSE, CDERR_STRUCTSIZE};
    }
    SaveRun run(*ofn);
    return run.Run();
  });
  t_lastError = outcome.error;
  return outcome.chosen;
}

DWORD CommDlgExtendedError() { return t_lastError; }

UINT RegisterWindowMessageA(LPCSTR name) {
  if (!name || !*name) return 0;
  return UiCall([&]() -> UINT {
    static std::map<std::string, UINT> registered;
    std::string key(name);
    std::transform(key.begin(), key.end(), key.begin(),
                   [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; });
    auto [it, added] = registered.try_emplace(key, static_cast<UINT>(0xC000u + registered.size()));
    return it->second;
  });
}

void SetSaveFileHook(SaveFileHook hook) {
  UiCall([&] { Hook() = std::move(hook); });
}
