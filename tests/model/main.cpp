// The model suite's entry: records reach the class library's strings and
// the framework's file names, which want a QApplication and a marked
// user-interface thread.

#include <QApplication>
#include <QtGlobal>

#include <gtest/gtest.h>

#include "platform/ui/ui_call.h"

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY") &&
      qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
  }
  QApplication app(argc, argv);
  SetUiThread();
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
