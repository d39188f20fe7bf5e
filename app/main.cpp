// The program's entry: the resources and the version data are registered
// before the application object starts, which then runs as the class
// library runs it.

#include "platform/ui/resources.h"
#include "platform/ui/win_app.h"
#include "res/glimra_resources.h"
#include "res/version_data.h"

int main(int argc, char** argv) {
  RegisterResources(&GlimraResources());
  RegisterVersionInfo(&GlimraVersionInfo());
  return AfxWinMain(argc, argv);
}
