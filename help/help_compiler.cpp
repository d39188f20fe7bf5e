// The build's help compiler. Usage: help_compiler PROJECT OUTPUT

#include <cstdio>
#include <memory>

#include "platform/ui/help_compile.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: help_compiler PROJECT OUTPUT\n");
    return 2;
  }
  const auto bytes = CompileHelpProject(argv[1]);
  if (!bytes) {
    std::fprintf(stderr, "help_compiler: %s\n", bytes.error().what.c_str());
    return 1;
  }
  const std::unique_ptr<std::FILE, int (*)(std::FILE*)> out(std::fopen(argv[2], "wb"), &std::fclose);
  if (!out || std::fwrite(bytes->data(), 1, bytes->size(), out.get()) != bytes->size() || std::fflush(out.get()) != 0) {
    std::fprintf(stderr, "help_compiler: cannot write %s\n", argv[2]);
    return 1;
  }
  return 0;
}
