// The GUI test program: a QApplication on the offscreen platform, the
// layer told which thread is its user-interface thread.

#include <gtest/gtest.h>

#include <QApplication>
#include <cstdlib>

#include "platform/ui/ui_call.h"

int main(int argc, char** argv) {
  if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 0);
  QApplication app(argc, argv);
  QApplication::setQuitOnLastWindowClosed(false);
  SetUiThread();
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
