#include "tests/mainwnd/selection_fixture.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "mainwnd/glimra_dlg.h"
#include "mainwnd/search_path.h"
#include "platform/ui/qt_bridge.h"
#include "tests/program_support/app_test_support.h"

namespace {

void SendKey(QWidget* target, int key, Qt::KeyboardModifiers modifiers, const QString& text) {
  QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
  QApplication::sendEvent(target, &press);
  QKeyEvent release(QEvent::KeyRelease, key, modifiers, text);
  QApplication::sendEvent(target, &release);
}

template <typename GetText>
std::vector<std::string> Texts(int count, GetText get) {
  std::vector<std::string> texts;
  for (int i = 0; i < count; ++i) {
    CString text;
    get(i, text);
    texts.push_back(text.str());
  }
  return texts;
}

QComboBox* ComboOf(const CGlimraDlg& dlg) { return qobject_cast<QComboBox*>(WidgetOfWindow(dlg.m_cboFileType)); }

}  // namespace

void SelectionWindow::SetUp() {
  home = MakePrivateRuntimeFolder();
  if (const char* saved = std::getenv("HOME")) {
    m_hadHome = true;
    m_savedHome = saved;
  }
  ::setenv("HOME", home.c_str(), 1);
  dlg = CreateShownMainWindow(50);
  ASSERT_NE(dlg, nullptr);
  // The tree starts at home; its refresh writes "*.*" into the edit field.
  ASSERT_TRUE(
      PumpUntil([&] { return Caption() == "&Path selector: " + home && !FileListFillPending(dlg->m_lstFiles); }, 3000));
  WatchSearchPaths([this](const std::string& path) { searchPaths.push_back(path); });
}

void SelectionWindow::TearDown() {
  WatchSearchPaths({});
  DestroyMainWindow();
  if (m_hadHome) {
    ::setenv("HOME", m_savedHome.c_str(), 1);
  } else {
    ::unsetenv("HOME");
  }
  RemoveFolderTree(home);
}

std::string SelectionWindow::MakeFolder(const std::string& name, std::initializer_list<const char*> files) {
  std::string folder = home + "/" + name;
  std::filesystem::create_directory(folder);
  for (const char* file : files) Touch(folder + "/" + file);
  return folder;
}

void SelectionWindow::Touch(const std::string& path) { std::ofstream{path}; }

void SelectionWindow::SelectFolder(const std::string& path) {
  HTREEITEM homeItem = dlg->m_treeFolders.FindFolderItem(home.c_str());
  ASSERT_NE(homeItem, nullptr);
  dlg->m_treeFolders.Expand(homeItem, TVE_EXPAND);
  ASSERT_TRUE(PumpUntil([&] { return !dlg->m_treeFolders.ReadsPending(); }, 5000));
  HTREEITEM item = dlg->m_treeFolders.FindFolderItem(path.c_str());
  ASSERT_NE(item, nullptr) << path;
  m_pathsAtSelection = searchPaths.size();
  dlg->m_treeFolders.SelectItem(item);
}

void SelectionWindow::SelectComputer() {
  HTREEITEM computer = dlg->m_treeFolders.GetRootItem();
  ASSERT_NE(computer, nullptr);
  ASSERT_TRUE(dlg->m_treeFolders.GetItemPath(computer).IsEmpty());
  dlg->m_treeFolders.SelectItem(computer);
}

bool SelectionWindow::WaitForRefreshOf(const std::string& folder, int ms) {
  // The caption alone cannot tell: it keeps the last folder shown.
  return PumpUntil(
      [&] {
        return searchPaths.size() > m_pathsAtSelection && searchPaths.back().rfind(folder, 0) == 0 &&
               Caption() == "&Path selector: " + folder;
      },
      ms);
}

void SelectionWindow::TypeIntoPattern(const std::string& text) {
  QLineEdit* edit = ComboOf(*dlg)->lineEdit();
  ASSERT_NE(edit, nullptr);
  edit->end(false);
  for (const char ch : text) {
    const QChar qch = QChar::fromLatin1(ch);
    SendKey(edit, static_cast<int>(qch.toUpper().unicode()), Qt::NoModifier, QString(qch));
  }
}

void SelectionWindow::ClearPattern() {
  QLineEdit* edit = ComboOf(*dlg)->lineEdit();
  ASSERT_NE(edit, nullptr);
  edit->selectAll();
  SendKey(edit, Qt::Key_Backspace, Qt::NoModifier, QString());
}

void SelectionWindow::ChooseNextPattern() { SendKey(ComboOf(*dlg), Qt::Key_Down, Qt::NoModifier, QString()); }

void SelectionWindow::ClickFileListItem(int index) {
  auto* list = qobject_cast<QListWidget*>(WidgetOfWindow(dlg->m_lstFiles));
  ASSERT_NE(list, nullptr);
  QListWidgetItem* item = list->item(index);
  ASSERT_NE(item, nullptr);
  const QPointF at = list->visualItemRect(item).center();
  const QPointF global = list->viewport()->mapToGlobal(at);
  QMouseEvent press(QEvent::MouseButtonPress, at, global, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(list->viewport(), &press);
  QMouseEvent release(QEvent::MouseButtonRelease, at, global, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
  QApplication::sendEvent(list->viewport(), &release);
}

void SelectionWindow::ClickRecursive() {
  auto* box = qobject_cast<QAbstractButton*>(WidgetOfWindow(dlg->m_chkRecursive));
  ASSERT_NE(box, nullptr);
  box->click();
}

std::vector<std::string> SelectionWindow::FileListNames() const {
  return Texts(dlg->m_lstFiles.GetCount(), [&](int i, CString& text) { dlg->m_lstFiles.GetText(i, text); });
}

std::vector<std::string> SelectionWindow::PatternItems() const {
  return Texts(dlg->m_cboFileType.GetCount(), [&](int i, CString& text) { dlg->m_cboFileType.GetLBText(i, text); });
}

std::string SelectionWindow::PatternText() const {
  CString text;
  dlg->m_cboFileType.GetWindowText(text);
  return text.str();
}

std::string SelectionWindow::Caption() const {
  CString text;
  dlg->m_grpPathSelector.GetWindowText(text);
  return text.str();
}

bool SelectionWindow::ListButtonEnabled() const { return dlg->m_btnListIcon.IsWindowEnabled() != FALSE; }
