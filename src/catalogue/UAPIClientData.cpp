// The customer identification operations of TUAPI.
#include "app/UAPI.h"
#include "catalogue/ClientRules.h"
#include "platform/Platform.h"

namespace {

constexpr auto kHive = platform::Hive::CurrentUser;

QString ReadText(platform::Registry& registry, const std::string& key, const char* name) {
  const auto value = registry.ReadValue(kHive, key, name);
  if (!value)
    return {};
  if (const auto* text = std::get_if<std::string>(&*value))
    return QString::fromStdString(*text);
  return QString::number(std::get<std::uint32_t>(*value));
}

}  // namespace

bool TUAPI::GetIsCpfDone() {
  auto& registry = *platform::Current().registry;
  const std::string key = registryKey(fRegistryHiveClientData).toStdString();
  registry.CreateKey(kHive, key);
  if (!registry.ReadValue(kHive, key, "Cpf"))
    return false;
  FItemClientCpf = ReadText(registry, key, "Cpf");
  FItemClientName = ReadText(registry, key, "Nome");
  FitemClientTelefone = ReadText(registry, key, "Telefone");
  FitemClientemail = ReadText(registry, key, "Email");
  return true;
}

void TUAPI::WriteRegistryClientInfo(const QString& CPF, const QString& nome,
                                    const QString& telefone, const QString& email) {
  auto& registry = *platform::Current().registry;
  const std::string key = registryKey(fRegistryHiveClientData).toStdString();
  registry.CreateKey(kHive, key);
  registry.WriteValue(kHive, key, "Cpf", CPF.toStdString());
  registry.WriteValue(kHive, key, "Nome", nome.toStdString());
  registry.WriteValue(kHive, key, "Telefone", telefone.toStdString());
  registry.WriteValue(kHive, key, "Email", email.toStdString());
  FItemClientCpf = CPF;
  FItemClientName = nome;
  FitemClientTelefone = telefone;
  FitemClientemail = email;
}

bool TUAPI::IsValidEmail(const QString& Value) {
  return catalogue::IsValidEmail(Value);
}

bool TUAPI::IsValidCpf(const QString& cpf) {
  return catalogue::IsValidCpf(cpf);
}
