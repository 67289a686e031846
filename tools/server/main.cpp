// solvanta-server: the maker's world (static files, the update service and the
// geolocation JSON) on one port, for trying the program and its parts by hand.

#include <signal.h>

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>
#include <cstdio>
#include <filesystem>

#include "sim/server/AnswersFile.h"
#include "sim/server/Certificates.h"
#include "sim/server/MakerServer.h"

namespace {

int Fail(const std::string& message) {
  std::fprintf(stderr, "solvanta-server: %s\n", message.c_str());
  return 1;
}

}  // namespace

int main(int argc, char* argv[]) {
  // SIGINT and SIGTERM are taken by sigwait() below, on this thread.
  sigset_t stopSignals;
  sigemptyset(&stopSignals);
  sigaddset(&stopSignals, SIGINT);
  sigaddset(&stopSignals, SIGTERM);
  pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

  QCoreApplication app(argc, argv);
  QCoreApplication::setApplicationName("solvanta-server");
  QCommandLineParser parser;
  parser.setApplicationDescription(
      "Servidor local do fabricante: arquivos estáticos com intervalos de bytes (HEAD, 206,\n"
      "416), o serviço SOAP de atualização em " +
      QString(sim::kSoapPath) +
      "\n(ReturnUpdate, UpdateDbTvs, RecebeSystemLog) e a geolocalização em /json.\n"
      "Escuta em 127.0.0.1 e mostra a URL; Ctrl+C encerra.\n\n"
      "Exemplo:\n"
      "  solvanta-server --port 8080 --root ./mundo\n"
      "  curl -O http://127.0.0.1:8080/solvanta/updates/arquivo.slvr\n"
      "  curl -r 0-99 http://127.0.0.1:8080/solvanta/updates/arquivo.slvr\n"
      "  curl http://127.0.0.1:8080/json\n\n"
      "Arquivo de respostas (--answers, JSON; todos os membros são opcionais):\n"
      "  {\"ReturnUpdate\": \"texto\", \"UpdateDbTvs\": \"texto\", \"RecebeSystemLog\": true,\n"
      "   \"soapStyle\": \"inline\" | \"multiref\", \"soapFaults\": {\"ReturnUpdate\": \"msg\"},\n"
      "   \"geolocation\": {\"ip\": \"...\", \"city\": \"...\", \"region\": \"...\"},\n"
      "   \"geolocationToken\": {...}, \"ignoreRanges\": false,\n"
      "   \"faults\": {\"/caminho\" ou \"/prefixo/*\": {\"status\": 500, \"redirect\": \"url\",\n"
      "     \"delayMs\": 0, \"bytesPerSecond\": 0, \"cutAfterBytes\": 0, \"chunked\": true,\n"
      "     \"contentLength\": 0, \"times\": 1}}}");
  parser.addHelpOption();
  const QCommandLineOption port("port", "Porta TCP (0: uma porta livre). Padrão: 8080.", "porta",
                                "8080");
  const QCommandLineOption host("host", "Endereço de escuta. Padrão: 127.0.0.1.", "endereço",
                                "127.0.0.1");
  const QCommandLineOption root("root", "Pasta servida em \"/\". Padrão: a pasta atual.", "pasta",
                                QDir::currentPath());
  const QCommandLineOption tls(
      "tls",
      "Usa HTTPS. Sem --cert/--key, gera uma CA e um certificado para localhost e 127.0.0.1\n"
      "e mostra o caminho da CA (para curl --cacert).");
  const QCommandLineOption cert("cert", "Certificado do servidor em PEM (implica --tls).",
                                "arquivo");
  const QCommandLineOption key("key", "Chave privada do servidor em PEM (implica --tls).",
                               "arquivo");
  const QCommandLineOption answers("answers", "Arquivo JSON de respostas e falhas (veja acima).",
                                   "arquivo");
  parser.addOptions({port, host, root, tls, cert, key, answers});
  parser.process(app);

  bool portOk = false;
  sim::ServerOptions options;
  options.port = parser.value(port).toInt(&portOk);
  if (!portOk || options.port < 0 || options.port > 65535) {
    return Fail("porta inválida: " + parser.value(port).toStdString());
  }
  options.bindAddress = parser.value(host).toStdString();
  options.root = std::filesystem::path(parser.value(root).toStdString());
  std::error_code error;
  if (!std::filesystem::is_directory(options.root, error)) {
    return Fail("a pasta não existe: " + options.root.string());
  }

  QTemporaryDir certificateDir(QDir::tempPath() + "/solvanta-server-XXXXXX");
  std::string caFile;
  if (parser.isSet(cert) != parser.isSet(key)) {
    return Fail("--cert e --key devem ser dados juntos");
  }
  if (parser.isSet(cert)) {
    auto certificate = sim::ReadTextFile(parser.value(cert).toStdString());
    auto privateKey = sim::ReadTextFile(parser.value(key).toStdString());
    if (!certificate || !privateKey) {
      return Fail(certificate ? privateKey.error() : certificate.error());
    }
    options.tls = sim::TlsIdentity{*certificate, *privateKey};
  } else if (parser.isSet(tls)) {
    auto generated = sim::GenerateCertificates();
    if (!generated) {
      return Fail(generated.error());
    }
    auto written = sim::WriteCertificates(*generated, certificateDir.path().toStdString());
    if (!written) {
      return Fail(written.error());
    }
    options.tls = generated->server;
    caFile = written->string();
  }

  sim::MakerServer server(options);
  if (parser.isSet(answers)) {
    if (auto applied = sim::ApplyAnswersFile(server, parser.value(answers).toStdString());
        !applied) {
      return Fail(applied.error());
    }
  }
  if (auto started = server.Start(); !started) {
    return Fail(started.error());
  }
  std::printf("solvanta-server: servindo %s em %s/\n", options.root.string().c_str(),
              server.BaseUrl().c_str());
  if (!caFile.empty()) {
    std::printf("solvanta-server: CA do certificado: %s\n", caFile.c_str());
  }
  std::fflush(stdout);

  int received = 0;
  sigwait(&stopSignals, &received);
  server.Stop();
  return 0;
}
