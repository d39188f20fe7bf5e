#pragma once
// Dialogs built from dialog templates: modal (DoModal until EndDialog) and
// modeless (Create). Template rectangles stay in dialog units and are
// converted with the dialog font's average character size, as the platform
// converts them; the horizontal unit grows, within a bound, where the face
// standing in for the template's font would not hold the template's own
// texts (dialog_text_fit.h).

#include "platform/ui/cwnd.h"

struct DialogTemplate;

// Dialog base units of a font: the average width of "A".."Z""a".."z" and
// the font's height, in pixels.
[[nodiscard]] SIZE DialogBaseUnits(LPCTSTR faceName, int pointSize);
// x * cx / 4 and y * cy / 8 for each edge, rounded as the platform rounds.
void MapDialogUnits(SIZE baseUnits, RECT& rect);

class CDialog : public CWnd {
  DECLARE_DYNAMIC(CDialog)

 public:
  CDialog();
  explicit CDialog(UINT templateId, CWnd* parent = nullptr);
  ~CDialog() override;

  // Modeless: creates the window from the template (shown when the template
  // says WS_VISIBLE); OnInitDialog runs before it returns.
  BOOL Create(UINT templateId, CWnd* parent = nullptr);
  BOOL CreateIndirect(const DialogTemplate& dialogTemplate, CWnd* parent = nullptr);
  // Modal: creates, disables the owner, runs until EndDialog, destroys the
  // window and answers the EndDialog value (-1 when it could not be created).
  virtual INT_PTR DoModal();
  void EndDialog(int result);

  virtual BOOL OnInitDialog();
  virtual void OnOK();
  virtual void OnCancel();

  // Enter gives the default button's command (IDOK), Escape IDCANCEL.
  BOOL PreTranslateMessage(MSG* msg) override;
  // Own map first, then the application object's.
  BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;
  LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

  void MapDialogRect(LPRECT rect) const;
  [[nodiscard]] SIZE GetBaseUnits() const;
  void GotoDlgCtrl(CWnd* control);
  void SetDefID(UINT id);
  [[nodiscard]] DWORD GetDefID() const;
  [[nodiscard]] BOOL IsModal() const { return m_bModal ? TRUE : FALSE; }

  UINT m_nIDHelp = 0;
  UINT m_nIDTemplate = 0;
  CWnd* m_pParentWnd = nullptr;

 protected:
  afx_msg LRESULT HandleInitDialog(WPARAM wParam, LPARAM lParam);
  DECLARE_MESSAGE_MAP()

 private:
  BOOL CreateFromTemplate(const DialogTemplate& t, CWnd* parent);
  bool m_bModal = false;
  bool m_bEnded = false;
  int m_nResult = 0;
  UINT m_nDefID = IDOK;
  SIZE m_baseUnits{0, 0};
  void* m_pLoop = nullptr;  // the modal run's event loop while it runs
};
