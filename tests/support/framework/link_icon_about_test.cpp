#include <gtest/gtest.h>

#include <QApplication>
#include <QMouseEvent>
#include <QWidget>

#include <array>
#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/core/icon_object.h"
#include "platform/ui/button.h"
#include "platform/ui/dc.h"
#include "platform/ui/dialog.h"
#include "platform/ui/geometry.h"
#include "platform/ui/message_box.h"
#include "platform/ui/qt_bridge.h"
#include "platform/ui/resources.h"
#include "support/framework/file_name.h"
#include "support/framework/hyper_link.h"
#include "support/framework/version_info.h"
#include "support/framework/zu_about_dlg.h"
#include "support/framework/zu_big_icon.h"
#include "tests/common/ico_builder.h"

namespace {

class Host : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(m_parent.CreateEx(0, WC_GENERIC, "host", WS_POPUP, CRect(0, 0, 300, 200), nullptr, 0));
    m_parent.ShowWindow(SW_SHOW);
  }
  void TearDown() override { m_parent.DestroyWindow(); }
  CWnd m_parent;
};

// ---- CHyperLink

class HyperLinkTest : public Host {
 protected:
  void SetUp() override {
    Host::SetUp();
    SetUrlOpener([this](const std::string& url) {
      m_opened.push_back(url);
      return true;
    });
    CStatic plain;
    ASSERT_TRUE(plain.Create("on-line help system.", WS_VISIBLE | SS_CENTER, CRect(10, 10, 150, 30), &m_parent, 1087));
    plain.Detach();
  }
  void TearDown() override {
    SetUrlOpener({});
    Host::TearDown();
  }
  void Click(QWidget* widget) {
    const QPointF at(widget->width() / 2.0, widget->height() / 2.0);
    QMouseEvent press(QEvent::MouseButtonPress, at, widget->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QMouseEvent release(QEvent::MouseButtonRelease, at, widget->mapToGlobal(at), Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QApplication::sendEvent(widget, &press);
    QApplication::sendEvent(widget, &release);
  }
  std::vector<std::string> m_opened;
};

TEST_F(HyperLinkTest, BoundStaticLooksLikeALinkAndAClickOpensTheAddress) {
  CHyperLink link;
  ASSERT_TRUE(link.SubclassDlgItem(1087, &m_parent));
  link.SetURL("https://help.example/vantrel/Glimra/index.html");
  QWidget* widget = WidgetOfWindow(link.GetSafeHwnd());
  ASSERT_NE(widget, nullptr);
  EXPECT_TRUE(widget->font().underline());
  EXPECT_EQ(widget->palette().color(QPalette::WindowText), QColor(0, 0, 255));
  EXPECT_EQ(widget->cursor().shape(), Qt::PointingHandCursor);

  Click(widget);
  EXPECT_EQ(m_opened, (std::vector<std::string>{"https://help.example/vantrel/Glimra/index.html"}));
  link.UnsubclassWindow();
}

TEST_F(HyperLinkTest, WithoutAnAddressTheTextIsOpened) {
  CHyperLink link;
  ASSERT_TRUE(link.SubclassDlgItem(1087, &m_parent));
  EXPECT_TRUE(link.FollowLink());
  EXPECT_EQ(m_opened, (std::vector<std::string>{"on-line help system."}));
  link.UnsubclassWindow();
}

// ---- CZUBigIcon and the about box

constexpr UINT kIconId = 128;

class IconResourceTest : public Host {
 protected:
  std::vector<std::uint8_t> m_ico = ico_test::IcoFile(
      {ico_test::DibEntry(16, 16, 32), ico_test::DibEntry(32, 32, 32), ico_test::DibEntry(48, 48, 32)});
  IconResource m_icon{m_ico};
  std::array<ResourceEntry<IconResource>, 1> m_icons{{{kIconId, &m_icon}}};
  ResourceTable m_table{{}, {}, {}, {}, {}, {}, m_icons};
  ScopedResources m_resources{m_table};
};

TEST_F(IconResourceTest, BigIconSideIsTheLargestImageThatFitsAtLeast32) {
  struct Case {
    int width, height, side;
  };
  const Case cases[] = {{48, 48, 48}, {100, 60, 48}, {47, 80, 32}, {20, 20, 32}, {32, 32, 32}};
  for (const Case& c : cases) {
    EXPECT_EQ(BigIconSide(kIconId, c.width, c.height), c.side) << c.width << "x" << c.height;
  }
  EXPECT_EQ(BigIconSide(4242, 48, 48), 0);
}

TEST_F(IconResourceTest, SizeToContentSizesTheButtonToTheIcon) {
  CZUBigIcon icon;
  ASSERT_TRUE(icon.Create("", WS_VISIBLE | BS_OWNERDRAW, CRect(11, 12, 11 + 60, 12 + 50), &m_parent, 1008));
  ASSERT_TRUE(icon.SizeToContent(kIconId));
  EXPECT_EQ(icon.GetIconSide(), 48);
  ASSERT_NE(icon.GetBigIcon(), nullptr);
  EXPECT_EQ(icon.GetBigIcon()->width, 48);
  CRect rect;
  icon.GetWindowRect(&rect);
  m_parent.ScreenToClient(&rect);
  EXPECT_EQ(rect, CRect(11, 12, 59, 60));
  // Drawn by the library: the icon's pixels end up in the widget.
  QWidget* widget = WidgetOfWindow(icon.GetSafeHwnd());
  ASSERT_NE(widget, nullptr);
  const QImage shot = widget->grab().toImage();
  EXPECT_EQ(shot.width(), 48);
  // Each pixel is the icon's, laid over the background.
  const QColor background = widget->palette().window().color();
  const std::vector<std::uint32_t> expected = ScaleIconPixels(*icon.GetBigIcon(), 48, 48);
  ASSERT_EQ(expected.size(), 48u * 48u);
  int matching = 0;
  for (int y = 0; y < 48; ++y) {
    for (int x = 0; x < 48; ++x) {
      const std::uint32_t argb = expected[static_cast<std::size_t>(y) * 48 + static_cast<std::size_t>(x)];
      const double alpha = ((argb >> 24) & 0xFF) / 255.0;
      const auto blend = [&](int shift, int under) {
        return static_cast<int>(std::lround(((argb >> shift) & 0xFF) * alpha + under * (1.0 - alpha)));
      };
      const QColor got = shot.pixelColor(x, y);
      const bool same = std::abs(got.red() - blend(16, background.red())) <= 2 &&
                        std::abs(got.green() - blend(8, background.green())) <= 2 &&
                        std::abs(got.blue() - blend(0, background.blue())) <= 2;
      matching += same ? 1 : 0;
    }
  }
  EXPECT_EQ(matching, 48 * 48);
  EXPECT_FALSE(icon.SizeToContent(4242));
  EXPECT_EQ(icon.GetIconSide(), 48);  // unchanged on failure
}

const VersionInfo kVersion = {{1, 0, 2, 0}, {1, 0, 2, 0}, "Test Maker",         "Glimra Application",
                              "1, 0, 2, 0", "Glimra",     "Copyright (C) Test", nullptr,
                              "Glimra.exe", "Glimra",     "1, 0, 2, 0",         nullptr};

TEST_F(IconResourceTest, AboutBoxShowsProductVersionAndIcon) {
  RegisterVersionInfo(&kVersion);
  EXPECT_STREQ(QueryVersionString("FileVersion"), "1, 0, 2, 0");
  EXPECT_STREQ(QueryVersionString("OriginalFilename"), "Glimra.exe");
  EXPECT_EQ(QueryVersionString("LegalTrademarks"), nullptr);
  EXPECT_EQ(QueryVersionString("NoSuchField"), nullptr);

  CString product, version, copyright, caption;
  int sideShown = 0;
  SetModalHook([&](const ModalRun& run) -> std::optional<int> {
    if (run.kind != ModalKind::Dialog || run.dialog == nullptr) {
      return std::nullopt;
    }
    run.dialog->GetDlgItemText(static_cast<int>(kAboutProductId), product);
    run.dialog->GetDlgItemText(static_cast<int>(kAboutVersionId), version);
    run.dialog->GetDlgItemText(static_cast<int>(kAboutCopyrightId), copyright);
    run.dialog->GetWindowText(caption);
    CRect rect;
    run.dialog->GetDlgItem(static_cast<int>(kAboutIconId))->GetWindowRect(&rect);
    sideShown = rect.Width();
    return IDOK;
  });
  CZUAboutDlg about(kIconId);
  EXPECT_EQ(about.DoModal(), IDOK);
  SetModalHook({});
  RegisterVersionInfo(nullptr);

  EXPECT_EQ(product, CString("Glimra"));
  EXPECT_EQ(version, CString("Version 1.0.2.0"));
  EXPECT_EQ(copyright, CString("Copyright (C) Test"));
  EXPECT_EQ(caption, CString("About Glimra"));
  EXPECT_GE(sideShown, 32);
}

// ---- CFileName::Path2Rect with a window

TEST_F(Host, Path2RectFitsTheWindowsFont) {
  CStatic label;
  ASSERT_TRUE(label.Create("", WS_VISIBLE, CRect(0, 0, 120, 20), &m_parent, 5));
  const CFileName name("/home/someone/a/very/long/path/with/many/folders/inside/it/file.ico");
  const CRect rect(0, 0, 120, 20);
  const std::string shortened = name.Path2Rect(&label, rect);
  ASSERT_FALSE(shortened.empty());
  EXPECT_NE(shortened, name.GetPath());
  EXPECT_NE(shortened.find("file.ico"), std::string::npos);
  CClientDC dc(&label);
  dc.SelectObject(label.GetFont());
  EXPECT_LE(dc.GetTextExtent(shortened.c_str(), static_cast<int>(shortened.size())).cx, rect.Width());
  // Short enough already: unchanged.
  EXPECT_EQ(CFileName("/a.ico").Path2Rect(&label, rect), "/a.ico");
  EXPECT_EQ(name.Path2Rect(nullptr, rect), "");
}

}  // namespace
