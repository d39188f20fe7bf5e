#include "platform/core/built_in_modules.h"

#include <gtest/gtest.h>

#include "platform/core/data_module.h"

namespace {

bool g_installed = false;
bool Installed() { return g_installed; }
bool Never() { return false; }

TEST(BuiltInModules, ABareNameInAnyCaseLoadsExactlyWhenThePresenceSaysSo) {
  RegisterBuiltInModule("viewer.ocx", Installed);
  g_installed = false;
  EXPECT_EQ(LoadLibraryExA("viewer.ocx", nullptr, LOAD_LIBRARY_AS_DATAFILE), nullptr);

  g_installed = true;
  HMODULE module = LoadLibraryExA("VIEWER.OCX", nullptr, LOAD_LIBRARY_AS_DATAFILE);
  ASSERT_NE(module, nullptr);
  // A module without resources: lookups find nothing and do not crash.
  EXPECT_EQ(FindResourceA(module, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(14)), nullptr);
  EXPECT_TRUE(FreeLibrary(module));
  EXPECT_FALSE(FreeLibrary(module));

  // Only data-file loads of the bare name; with a folder it is a file path.
  EXPECT_EQ(LoadLibraryExA("viewer.ocx", nullptr, 0), nullptr);
  EXPECT_EQ(LoadLibraryExA("/nowhere/viewer.ocx", nullptr, LOAD_LIBRARY_AS_DATAFILE), nullptr);
  bool present = false;
  EXPECT_FALSE(IsBuiltInModule("./viewer.ocx", &present));
  EXPECT_FALSE(IsBuiltInModule("viewer.oc", &present));
  EXPECT_FALSE(IsBuiltInModule("", &present));
  EXPECT_TRUE(IsBuiltInModule("Viewer.Ocx", &present));
  EXPECT_TRUE(present);

  // A second registration of the name replaces the first.
  RegisterBuiltInModule("VIEWER.ocx", Never);
  EXPECT_EQ(LoadLibraryExA("viewer.ocx", nullptr, LOAD_LIBRARY_AS_DATAFILE), nullptr);
}

}  // namespace
