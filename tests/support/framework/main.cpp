// The framework suite's entry: window classes need a QApplication, which
// must exist before any test builds a widget and outlive them all.
//
// Run with "--instance-helper ..." the program is instead one copy of an
// application for the single-instance tests (instance_helper.cpp), which
// need a second process.

#include <QApplication>
#include <QtGlobal>

#include <cstring>

#include <gtest/gtest.h>

#include "platform/ui/ui_call.h"

int RunInstanceHelper(int argc, char** argv);

int main(int argc, char** argv) {
  // Test discovery runs this program at build time, outside ctest's
  // environment; without a display it would abort before listing a test.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY") &&
      qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
  }
  QApplication app(argc, argv);
  SetUiThread();
  if (argc >= 2 && std::strcmp(argv[1], "--instance-helper") == 0) {
    return RunInstanceHelper(argc, argv);
  }
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
