// The demo's stand-in for every chip vendor tool: one program installed under
// each tool's name ("CmdDloader.exe", "flash_tool.exe", "FactoryTool.exe").
// Its behaviour is chosen by the name it was started as and its arguments;
// for now every tool prints one line naming itself and its arguments and
// ends with success.

#include <cstdio>
#include <string>

int main(int argc, char** argv) {
  std::string name = argc > 0 ? argv[0] : "ferramenta";
  const std::size_t slash = name.find_last_of("/\\");
  if (slash != std::string::npos)
    name.erase(0, slash + 1);
  std::string line = name + ":";
  for (int i = 1; i < argc; ++i)
    line += std::string(" ") + argv[i];
  std::printf("%s\n", line.c_str());
  return 0;
}
