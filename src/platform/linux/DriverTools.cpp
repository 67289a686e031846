#include "platform/linux/DriverTools.h"

#include <filesystem>

#include "platform/Wql.h"

namespace platform {

std::optional<std::string> PnputilDriverFile(const BuiltinContext& context) {
  std::optional<std::string> file;
  const std::vector<std::string>& arguments = context.Arguments();
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    if ((EqualsIgnoreCase(argument, "-a") || EqualsIgnoreCase(argument, "/add-driver")) &&
        i + 1 < arguments.size() && !file) {
      file = arguments[++i];
    } else if (!EqualsIgnoreCase(argument, "/install")) {
      return std::nullopt;
    }
  }
  if (!file || file->empty()) {
    return std::nullopt;
  }
  const std::filesystem::path path(*file);
  return path.is_absolute() ? *file : (std::filesystem::path(context.WorkingDir()) / path).string();
}

std::uint32_t Pnputil(BuiltinContext& context, const std::function<void(const std::string&)>& add) {
  const auto file = PnputilDriverFile(context);
  if (!file) {
    context.Output("Sintaxe: pnputil -a <arquivo.inf>\r\n");
    return kDriverBadCommandLine;
  }
  context.Output("Processando inf: " + *file + "\r\n");
  std::error_code error;
  if (!std::filesystem::is_regular_file(*file, error)) {
    context.Output("Falha ao adicionar o pacote: o arquivo não foi encontrado.\r\n");
    return kDriverFileNotFound;
  }
  add(*file);
  context.Output("Pacote de driver adicionado com êxito.\r\n");
  return 0;
}

void RegisterLinuxDriverTools(LinuxShell& shell) {
  shell.RegisterBuiltin("pnputil.exe", [](BuiltinContext& context) {
    return Pnputil(context, [](const std::string&) {});
  });
  const Builtin dpinst = [](BuiltinContext&) -> std::uint32_t { return 0; };
  shell.RegisterBuiltin("dpinst.exe", dpinst);
  shell.RegisterBuiltin("dpinst64.exe", dpinst);
}

}  // namespace platform
