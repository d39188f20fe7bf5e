#pragma once
// Message maps: a static table per class of entries built from captureless
// lambdas that cast the target to the class and call its handler with the
// class library's signature. The table is walked in entry order, then the
// base class's table.

#include "platform/ui/geometry.h"

class CCmdTarget;
class CCmdUI;
class CWnd;
class CDC;
class CMenu;
struct MINMAXINFO;
struct CREATESTRUCT;

// Command codes in WM_COMMAND entries: the notification code of a control,
// or one of these for menu, accelerator and toolbar commands.
inline constexpr int CN_COMMAND = 0;
inline constexpr int CN_UPDATE_COMMAND_UI = -1;

// What a handler gets: the message and its parameters, and where it writes
// its result. For update entries cmdUI is set.
struct AfxMessageCall {
  UINT message = 0;
  WPARAM wParam = 0;
  LPARAM lParam = 0;
  LRESULT result = 0;
  CCmdUI* cmdUI = nullptr;
};

using AfxHandler = void (*)(CCmdTarget* target, AfxMessageCall& call);

struct AFX_MSGMAP_ENTRY {
  UINT nMessage;  // WM_COMMAND and WM_NOTIFY entries also match code and id
  UINT nCode;
  UINT nID;
  UINT nLastID;
  AfxHandler pfn;  // null ends the table
};

struct AFX_MSGMAP {
  const AFX_MSGMAP* (*pfnGetBaseMap)();
  const AFX_MSGMAP_ENTRY* lpEntries;
};

// The first entry of one table that matches; null when none does.
[[nodiscard]] const AFX_MSGMAP_ENTRY* AfxFindMessageEntry(const AFX_MSGMAP_ENTRY* entries, UINT message, UINT code,
                                                          UINT id);

#define afx_msg

#define DECLARE_MESSAGE_MAP()                   \
 protected:                                     \
  static const AFX_MSGMAP* GetThisMessageMap(); \
  const AFX_MSGMAP* GetMessageMap() const override;

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                      \
  const AFX_MSGMAP* theClass::GetMessageMap() const { return GetThisMessageMap(); } \
  const AFX_MSGMAP* theClass::GetThisMessageMap() {                                 \
    using ThisClass = theClass;                                                     \
    using TheBaseClass = baseClass;                                                 \
    static const AFX_MSGMAP_ENTRY _messageEntries[] = {
// The map's braces open in one macro and close in another, which the formatter cannot follow.
// clang-format off
#define END_MESSAGE_MAP()                                                  \
  {0, 0, 0, 0, nullptr}};                                                  \
  static const AFX_MSGMAP messageMap = {&TheBaseClass::GetThisMessageMap, \
                                        &_messageEntries[0]};              \
  return &messageMap;                                                      \
  }
// clang-format on

#define GLIMRA_MSG_ENTRY(msg, code, id, last, body)                              \
  {msg, static_cast<UINT>(code), static_cast<UINT>(id), static_cast<UINT>(last), \
   [](CCmdTarget* t_, AfxMessageCall& c_) {                                      \
     (void)c_;                                                                   \
     [[maybe_unused]] auto* self_ = static_cast<ThisClass*>(t_);                 \
     body;                                                                       \
   }},

// ---- commands and control notifications
#define ON_COMMAND(id, memberFxn) GLIMRA_MSG_ENTRY(WM_COMMAND, CN_COMMAND, id, id, self_->memberFxn())
#define ON_COMMAND_RANGE(id, idLast, memberFxn) \
  GLIMRA_MSG_ENTRY(WM_COMMAND, CN_COMMAND, id, idLast, self_->memberFxn(static_cast<UINT>(LOWORD(c_.wParam))))
#define ON_UPDATE_COMMAND_UI(id, memberFxn) \
  GLIMRA_MSG_ENTRY(WM_COMMAND, CN_UPDATE_COMMAND_UI, id, id, self_->memberFxn(c_.cmdUI))
#define ON_CONTROL(code, id, memberFxn) GLIMRA_MSG_ENTRY(WM_COMMAND, code, id, id, self_->memberFxn())
#define ON_BN_CLICKED(id, memberFxn) ON_CONTROL(BN_CLICKED, id, memberFxn)
#define ON_BN_DOUBLECLICKED(id, memberFxn) ON_CONTROL(BN_DOUBLECLICKED, id, memberFxn)
#define ON_STN_CLICKED(id, memberFxn) ON_CONTROL(STN_CLICKED, id, memberFxn)
#define ON_LBN_SELCHANGE(id, memberFxn) ON_CONTROL(LBN_SELCHANGE, id, memberFxn)
#define ON_LBN_DBLCLK(id, memberFxn) ON_CONTROL(LBN_DBLCLK, id, memberFxn)
#define ON_CBN_EDITCHANGE(id, memberFxn) ON_CONTROL(CBN_EDITCHANGE, id, memberFxn)
#define ON_CBN_SELCHANGE(id, memberFxn) ON_CONTROL(CBN_SELCHANGE, id, memberFxn)
#define ON_CBN_DROPDOWN(id, memberFxn) ON_CONTROL(CBN_DROPDOWN, id, memberFxn)
#define ON_CBN_CLOSEUP(id, memberFxn) ON_CONTROL(CBN_CLOSEUP, id, memberFxn)
#define ON_NOTIFY(code, id, memberFxn) \
  GLIMRA_MSG_ENTRY(WM_NOTIFY, code, id, id, self_->memberFxn(reinterpret_cast<NMHDR*>(c_.lParam), &c_.result))
#define ON_MESSAGE(message, memberFxn) \
  GLIMRA_MSG_ENTRY(message, 0, 0, 0, c_.result = self_->memberFxn(c_.wParam, c_.lParam))

// ---- window messages
#define ON_WM_TIMER() GLIMRA_MSG_ENTRY(WM_TIMER, 0, 0, 0, self_->OnTimer(static_cast<UINT_PTR>(c_.wParam)))
#define ON_WM_PAINT() GLIMRA_MSG_ENTRY(WM_PAINT, 0, 0, 0, self_->OnPaint())
#define ON_WM_SYSCOMMAND() \
  GLIMRA_MSG_ENTRY(WM_SYSCOMMAND, 0, 0, 0, self_->OnSysCommand(static_cast<UINT>(c_.wParam), c_.lParam))
#define ON_WM_QUERYDRAGICON() \
  GLIMRA_MSG_ENTRY(WM_QUERYDRAGICON, 0, 0, 0, c_.result = reinterpret_cast<LRESULT>(self_->OnQueryDragIcon()))
#define ON_WM_CONTEXTMENU()                 \
  GLIMRA_MSG_ENTRY(WM_CONTEXTMENU, 0, 0, 0, \
                   self_->OnContextMenu(CWnd::FromHandle(reinterpret_cast<HWND>(c_.wParam)), CPoint(c_.lParam)))
#define GLIMRA_MOUSE_ENTRY(msg, fn) \
  GLIMRA_MSG_ENTRY(msg, 0, 0, 0, self_->fn(static_cast<UINT>(c_.wParam), CPoint(c_.lParam)))
#define ON_WM_RBUTTONUP() GLIMRA_MOUSE_ENTRY(WM_RBUTTONUP, OnRButtonUp)
#define ON_WM_RBUTTONDOWN() GLIMRA_MOUSE_ENTRY(WM_RBUTTONDOWN, OnRButtonDown)
#define ON_WM_LBUTTONUP() GLIMRA_MOUSE_ENTRY(WM_LBUTTONUP, OnLButtonUp)
#define ON_WM_LBUTTONDOWN() GLIMRA_MOUSE_ENTRY(WM_LBUTTONDOWN, OnLButtonDown)
#define ON_WM_LBUTTONDBLCLK() GLIMRA_MOUSE_ENTRY(WM_LBUTTONDBLCLK, OnLButtonDblClk)
#define ON_WM_MOUSEMOVE() GLIMRA_MOUSE_ENTRY(WM_MOUSEMOVE, OnMouseMove)
#define ON_WM_CLOSE() GLIMRA_MSG_ENTRY(WM_CLOSE, 0, 0, 0, self_->OnClose())
#define ON_WM_DESTROY() GLIMRA_MSG_ENTRY(WM_DESTROY, 0, 0, 0, self_->OnDestroy())
#define ON_WM_NCDESTROY() GLIMRA_MSG_ENTRY(WM_NCDESTROY, 0, 0, 0, self_->OnNcDestroy())
#define ON_WM_SIZE()                                                                                   \
  GLIMRA_MSG_ENTRY(WM_SIZE, 0, 0, 0,                                                                   \
                   self_->OnSize(static_cast<UINT>(c_.wParam), LOWORD(static_cast<WPARAM>(c_.lParam)), \
                                 HIWORD(static_cast<WPARAM>(c_.lParam))))
#define ON_WM_MOVE() GLIMRA_MSG_ENTRY(WM_MOVE, 0, 0, 0, self_->OnMove(GET_X_LPARAM(c_.lParam), GET_Y_LPARAM(c_.lParam)))
#define ON_WM_GETMINMAXINFO() \
  GLIMRA_MSG_ENTRY(WM_GETMINMAXINFO, 0, 0, 0, self_->OnGetMinMaxInfo(reinterpret_cast<MINMAXINFO*>(c_.lParam)))
#define ON_WM_CREATE() \
  GLIMRA_MSG_ENTRY(WM_CREATE, 0, 0, 0, c_.result = self_->OnCreate(reinterpret_cast<CREATESTRUCT*>(c_.lParam)))
#define ON_WM_ERASEBKGND()                 \
  GLIMRA_MSG_ENTRY(WM_ERASEBKGND, 0, 0, 0, \
                   c_.result = self_->OnEraseBkgnd(CDC::FromHandle(reinterpret_cast<HDC>(c_.wParam))))
#define ON_WM_KEYDOWN()                                                                                   \
  GLIMRA_MSG_ENTRY(WM_KEYDOWN, 0, 0, 0,                                                                   \
                   self_->OnKeyDown(static_cast<UINT>(c_.wParam), LOWORD(static_cast<WPARAM>(c_.lParam)), \
                                    HIWORD(static_cast<WPARAM>(c_.lParam))))
#define ON_WM_SHOWWINDOW()                 \
  GLIMRA_MSG_ENTRY(WM_SHOWWINDOW, 0, 0, 0, \
                   self_->OnShowWindow(static_cast<BOOL>(c_.wParam), static_cast<UINT>(c_.lParam)))
#define ON_WM_INITMENUPOPUP()                                                                    \
  GLIMRA_MSG_ENTRY(WM_INITMENUPOPUP, 0, 0, 0,                                                    \
                   self_->OnInitMenuPopup(CMenu::FromHandle(reinterpret_cast<HMENU>(c_.wParam)), \
                                          LOWORD(static_cast<WPARAM>(c_.lParam)),                \
                                          static_cast<BOOL>(HIWORD(static_cast<WPARAM>(c_.lParam)))))
#define ON_WM_SETFOCUS() \
  GLIMRA_MSG_ENTRY(WM_SETFOCUS, 0, 0, 0, self_->OnSetFocus(CWnd::FromHandle(reinterpret_cast<HWND>(c_.wParam))))
#define ON_WM_KILLFOCUS() \
  GLIMRA_MSG_ENTRY(WM_KILLFOCUS, 0, 0, 0, self_->OnKillFocus(CWnd::FromHandle(reinterpret_cast<HWND>(c_.wParam))))
