// The program's entry: "--help" and "--version" are answered before any
// window system is touched; otherwise the resources and the version data
// are registered before the application object starts, which then runs as
// the class library runs it.

#include <cstdio>

#include "app/command_line.h"
#include "platform/ui/resources.h"
#include "platform/ui/win_app.h"
#include "res/glimra_resources.h"
#include "res/version_data.h"

int main(int argc, char** argv) {
  const GlimraCommandLine line = ParseGlimraCommandLine(argc, argv);
  if (line.action != GlimraCommandLine::Action::Run) {
    const std::string text = line.action == GlimraCommandLine::Action::Help ? GlimraUsage() : GlimraVersionText();
    return std::fputs(text.c_str(), stdout) >= 0 && std::fflush(stdout) == 0 ? 0 : 1;
  }
  RegisterResources(&GlimraResources());
  RegisterVersionInfo(&GlimraVersionInfo());
  return AfxWinMain(argc, argv);
}
