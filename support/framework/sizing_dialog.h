#pragma once
// A dialog whose controls follow the window's size. Each registered control
// keeps the rectangle it had when it was registered; on every size change
// its four edges are placed anew from that rectangle and the change of the
// client size since registration, each edge moving by a percentage of that
// change. Working from the originals, not from the last layout, keeps
// repeated resizing free of accumulated rounding.

#include "platform/ui/dialog.h"

class cdxCSizingDialog : public CDialog {
  DECLARE_DYNAMIC(cdxCSizingDialog)

 public:
  class ControlList;

  // One registered control. Entries live on the heap and are linked into
  // their dialog's Header; deleting an entry unlinks it, so the program
  // empties the list with "while (!Header.IsEmpty()) delete Header.GetHead();".
  class ControlInfo {
   public:
    ControlInfo(ControlList& list, HWND control, const RECT& original, SIZE clientAtStart, BYTE left, BYTE right,
                BYTE top, BYTE bottom);
    ~ControlInfo();
    ControlInfo(const ControlInfo&) = delete;
    ControlInfo& operator=(const ControlInfo&) = delete;

    // Where the control goes when the client area measures client.
    [[nodiscard]] RECT Place(SIZE client) const;

    HWND m_hControl;
    RECT m_rcOriginal;                          // in the dialog's client coordinates
    SIZE m_szAtStart;                           // the client size when it was registered
    BYTE m_nLeft, m_nRight, m_nTop, m_nBottom;  // percent of the size change

   private:
    friend class ControlList;
    ControlList* m_pList;
    ControlInfo* m_pPrev = nullptr;
    ControlInfo* m_pNext = nullptr;
  };

  // The dialog's registered controls in registration order. It does not own
  // them through copies: a ControlInfo links itself in on construction and
  // out on destruction; the list deletes what is left when it goes.
  class ControlList {
   public:
    ControlList() = default;
    ~ControlList();
    ControlList(const ControlList&) = delete;
    ControlList& operator=(const ControlList&) = delete;

    [[nodiscard]] BOOL IsEmpty() const { return m_pHead == nullptr ? TRUE : FALSE; }
    [[nodiscard]] int GetCount() const { return m_nCount; }
    [[nodiscard]] ControlInfo* GetHead() const { return m_pHead; }
    [[nodiscard]] static ControlInfo* GetNext(const ControlInfo* entry) { return entry->m_pNext; }
    void RemoveAll();

   private:
    friend class ControlInfo;
    void Link(ControlInfo* entry);
    void Unlink(ControlInfo* entry);
    ControlInfo* m_pHead = nullptr;
    ControlInfo* m_pTail = nullptr;
    int m_nCount = 0;
  };

  // The original's sizing modes for AddSzControl, per axis.
  enum Mode : int {
    mdNone = 0,    // keeps position and size on that axis
    mdResize = 1,  // the far edge follows the whole size change
    mdRepos = 2,   // moves by the whole size change
  };

  cdxCSizingDialog();
  explicit cdxCSizingDialog(UINT templateId, CWnd* parent = nullptr);
  ~cdxCSizingDialog() override;

  // Registers a control (a child of this dialog, by object or id) with a
  // mode per axis. FALSE when the control does not exist or a mode is not
  // 0, 1 or 2.
  BOOL AddSzControl(CWnd& control, int modeX, int modeY);
  BOOL AddSzControl(UINT controlId, int modeX, int modeY);
  // Registers a control with the percentage (0..100) of the size change
  // that its left, right, top and bottom edges move by. FALSE when the
  // control does not exist or a percentage exceeds 100.
  BOOL AddSzControlEx(CWnd& control, BYTE left, BYTE right, BYTE top, BYTE bottom);
  BOOL AddSzControlEx(UINT controlId, BYTE left, BYTE right, BYTE top, BYTE bottom);

  // Places every registered control for the current client size.
  void LayoutControls();

  ControlList Header;

 protected:
  // The client size the layout measures changes against. A derived dialog
  // whose client area also holds bars answers the area between them.
  [[nodiscard]] virtual SIZE GetLayoutClientSize() const;

  afx_msg void OnSize(UINT type, int cx, int cy);
  DECLARE_MESSAGE_MAP()

 private:
  BOOL Register(HWND control, BYTE left, BYTE right, BYTE top, BYTE bottom);
};
