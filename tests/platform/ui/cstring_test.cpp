#include "platform/ui/cstring.h"

#include <gtest/gtest.h>

#include "platform/ui/resources.h"

namespace {

TEST(CStringTest, TrimsOnlyBlanksTabsAndLineBreaks) {
  struct Case {
    const char* in;
    const char* left;
    const char* right;
  } cases[] = {
      {"  *.exe\t", "*.exe\t", "  *.exe"},
      {"\r\n*.*\n", "*.*\n", "\r\n*.*"},
      {"   ", "", ""},
      {"", "", ""},
      {"a b", "a b", "a b"},
  };
  for (const Case& c : cases) {
    CString l(c.in), r(c.in);
    l.TrimLeft();
    r.TrimRight();
    EXPECT_EQ(l, c.left) << c.in;
    EXPECT_EQ(r, c.right) << c.in;
  }
}

TEST(CStringTest, SubstringsClampOutOfRangeArguments) {
  CString s("folder\\name.ico");
  EXPECT_EQ(s.Left(100), "folder\\name.ico");
  EXPECT_EQ(s.Right(3), "ico");
  EXPECT_EQ(s.Mid(s.ReverseFind('.')), ".ico");
  EXPECT_EQ(s.Mid(-5, 3), "fol");
  EXPECT_EQ(s.Mid(200), "");
  EXPECT_EQ(s.Left(-1), "");
  EXPECT_EQ(s.GetAt(99), '\0');
  EXPECT_EQ(CString("abc").ReverseFind('x'), -1);
}

TEST(CStringTest, FormatGrowsPastAnyBufferAndCompareNoCaseIgnoresCase) {
  CString s;
  std::string big(5000, 'x');
  s.Format("Listing from %s", big.c_str());
  EXPECT_EQ(s.GetLength(), 13 + 5000);
  s.Format("%d", -7);
  EXPECT_EQ(s, "-7");
  EXPECT_EQ(CString("*.ICO").CompareNoCase("*.ico"), 0);
  EXPECT_NE(CString("*.ICO").Compare("*.ico"), 0);
}

TEST(CStringTest, BufferRoundTripTakesLengthFromNul) {
  CString s("abc");
  char* p = s.GetBuffer(10);
  std::snprintf(p, 10, "%s", "hello");
  s.ReleaseBuffer();
  EXPECT_EQ(s, "hello");
  EXPECT_EQ(s.GetLength(), 5);
}

TEST(CStringTest, LoadStringReadsTheNewestRegisteredTable) {
  static const StringResource base[] = {{57344, "Glimra"}, {101, "&About Glimra..."}};
  static const StringResource over[] = {{101, "Other"}};
  static const ResourceTable t1{base};
  static const ResourceTable t2{over};
  ScopedResources a(t1);
  CString s;
  EXPECT_TRUE(s.LoadString(101));
  EXPECT_EQ(s, "&About Glimra...");
  {
    ScopedResources b(t2);
    EXPECT_TRUE(s.LoadString(101));
    EXPECT_EQ(s, "Other");
    EXPECT_TRUE(s.LoadString(57344));
    EXPECT_EQ(s, "Glimra");
  }
  EXPECT_TRUE(s.LoadString(101));
  EXPECT_EQ(s, "&About Glimra...");
  EXPECT_FALSE(s.LoadString(9999));
  EXPECT_TRUE(s.IsEmpty());
}

}  // namespace
