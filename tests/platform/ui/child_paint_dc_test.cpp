// A parent that draws into one of its child controls from its own WM_PAINT,
// through the child's device context, as dialogs draw into a frame.

#include <gtest/gtest.h>

#include <QImage>
#include <QWidget>

#include <memory>

#include "platform/ui/cwnd.h"
#include "platform/ui/dc.h"
#include "platform/ui/gdi_objects.h"
#include "platform/ui/qt_bridge.h"

namespace {

constexpr int kFrameId = 7;
constexpr COLORREF kRed = RGB(255, 0, 0);

class PaintsIntoFrame : public CWnd {
 public:
  bool withOwnPaintDC = false;
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message != WM_PAINT) return CWnd::WindowProc(message, wParam, lParam);
    // The frame's context shares the painter of an open paint context.
    std::unique_ptr<CPaintDC> own = withOwnPaintDC ? std::make_unique<CPaintDC>(this) : nullptr;
    HWND frame = ::GetDlgItem(m_hWnd, kFrameId);
    HDC dc = ::GetDC(frame);
    RECT client;
    ::GetClientRect(frame, &client);
    HBRUSH brush = CreateSolidBrush(kRed);
    FillRect(dc, &client, brush);
    DeleteBrush(brush);
    ::ReleaseDC(frame, dc);
    return 0;
  }
};

TEST(ChildPaintDC, DrawingIntoAChildDuringTheParentsPaintLandsInsideTheChildOnly) {
  for (bool own : {false, true}) {
    SCOPED_TRACE(own ? "with the parent's paint context open" : "alone");
    PaintsIntoFrame parent;
    parent.withOwnPaintDC = own;
    ASSERT_TRUE(parent.CreateEx(0, WC_GENERIC, "p", WS_POPUP, RECT{0, 0, 100, 80}, nullptr, 0));
    CWnd frame;
    ASSERT_TRUE(
        frame.Create(WC_STATIC, "", WS_CHILD | WS_VISIBLE | SS_GRAYFRAME, RECT{20, 10, 60, 50}, &parent, kFrameId));
    parent.ShowWindow(SW_SHOW);
    const QImage shot = ClientWidgetOfWindow(parent.m_hWnd)->grab().toImage();
    const QColor red(255, 0, 0);
    EXPECT_EQ(shot.pixelColor(40, 30), red);
    EXPECT_NE(shot.pixelColor(10, 30), red);
    EXPECT_NE(shot.pixelColor(70, 30), red);
    EXPECT_NE(shot.pixelColor(40, 60), red);
    frame.DestroyWindow();
    parent.DestroyWindow();
  }
}

}  // namespace
