// The entry of the program suites: a QApplication on the offscreen platform, the
// program's resources and version data registered as main registers them,
// and a private runtime folder so that the single-instance channel of these
// tests meets neither a running copy of the program nor a parallel test.

#include <QApplication>
#include <QtGlobal>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "platform/ui/resources.h"
#include "platform/ui/ui_call.h"
#include "res/glimra_resources.h"
#include "res/version_data.h"
#include "tests/program_support/app_test_support.h"

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY") &&
      qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
  }
  const std::string runtime = MakePrivateRuntimeFolder();
  qputenv("XDG_RUNTIME_DIR", runtime.c_str());
  QApplication app(argc, argv);
  SetUiThread();
  RegisterResources(&GlimraResources());
  RegisterVersionInfo(&GlimraVersionInfo());
  testing::InitGoogleTest(&argc, argv);
  const int result = RUN_ALL_TESTS();
  RemoveFolderTree(runtime);
  return result;
}
