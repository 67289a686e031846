#include <gtest/gtest.h>

#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <fstream>

#include "support/HttpClient.h"

namespace {

using testsupport::Fetch;

// solvanta-server run as a child process, as a newcomer would start it.
class ServerProcess {
 public:
  explicit ServerProcess(QStringList arguments) {
    process_.setProgram(SOLVANTA_SERVER_EXE);
    process_.setArguments(arguments);
    process_.start();
  }
  ~ServerProcess() {
    // SIGTERM first, so that the server removes its generated certificates.
    if (process_.state() != QProcess::NotRunning) {
      process_.terminate();
      if (!process_.waitForFinished(3000)) {
        process_.kill();
        process_.waitForFinished(3000);
      }
    }
  }

  // Reads the output until `pattern` matches; returns its first capture.
  QString WaitFor(const QString& pattern) {
    const QRegularExpression re(pattern);
    for (int i = 0; i < 100; ++i) {
      const auto match = re.match(output_);
      if (match.hasMatch()) {
        return match.captured(1);
      }
      process_.waitForReadyRead(100);
      output_ += QString::fromUtf8(process_.readAllStandardOutput());
    }
    ADD_FAILURE() << "no " << pattern.toStdString() << " in: " << output_.toStdString();
    return {};
  }

  QProcess& process() { return process_; }

 private:
  QProcess process_;
  QString output_;
};

class ServerToolTest : public ::testing::Test {
 protected:
  void SetUp() override { std::ofstream(root.filePath("hello.txt").toStdString()) << "olá, mundo"; }
  QTemporaryDir root;
};

TEST_F(ServerToolTest, StartsOnAFreePortPrintsItsUrlAndServesTheFolder) {
  ServerProcess server({"--port", "0", "--root", root.path()});
  const QString base = server.WaitFor("em (http://127\\.0\\.0\\.1:\\d+)/");
  ASSERT_FALSE(base.isEmpty());
  const auto r = Fetch({.url = base.toStdString() + "/hello.txt"});
  ASSERT_EQ(r.code, CURLE_OK) << r.error;
  EXPECT_EQ(r.body, "olá, mundo");
  server.process().terminate();
  ASSERT_TRUE(server.process().waitForFinished(5000));
  EXPECT_EQ(server.process().exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(server.process().exitCode(), 0);
}

TEST_F(ServerToolTest, TlsWithoutCertificatePrintsTheCaThatVerifiesItAndRemovesItAtTheEnd) {
  ServerProcess server({"--port", "0", "--root", root.path(), "--tls"});
  const QString base = server.WaitFor("em (https://127\\.0\\.0\\.1:\\d+)/");
  const QString ca = server.WaitFor("CA do certificado: (\\S+)");
  ASSERT_FALSE(ca.isEmpty());
  const auto r = Fetch({.url = base.toStdString() + "/hello.txt", .caFile = ca.toStdString()});
  ASSERT_EQ(r.code, CURLE_OK) << r.error;
  EXPECT_EQ(r.body, "olá, mundo");
  // The generated key and certificates do not outlive the server.
  server.process().terminate();
  ASSERT_TRUE(server.process().waitForFinished(5000));
  EXPECT_FALSE(QFileInfo::exists(ca));
}

TEST_F(ServerToolTest, AnswersFileIsApplied) {
  const QString answers = root.filePath("answers.json");
  std::ofstream(answers.toStdString()) << R"({"faults": {"/hello.txt": {"status": 503}}})";
  ServerProcess server({"--port", "0", "--root", root.path(), "--answers", answers});
  const QString base = server.WaitFor("em (http://127\\.0\\.0\\.1:\\d+)/");
  EXPECT_EQ(Fetch({.url = base.toStdString() + "/hello.txt"}).status, 503);
}

TEST_F(ServerToolTest, HelpNamesEveryOption) {
  ServerProcess server({"--help"});
  ASSERT_TRUE(server.process().waitForFinished(5000));
  EXPECT_EQ(server.process().exitCode(), 0);
  const QString help = QString::fromUtf8(server.process().readAllStandardOutput());
  for (const char* option : {"--port", "--root", "--tls", "--cert", "--key", "--answers"}) {
    EXPECT_TRUE(help.contains(option)) << option;
  }
}

TEST_F(ServerToolTest, BadArgumentsEndWithAMessageAndExitCode1) {
  const QString badAnswers = root.filePath("bad.json");
  std::ofstream(badAnswers.toStdString()) << "{ nope";
  const QStringList cases[] = {
      {"--port", "http"},
      {"--port", "0", "--root", root.filePath("missing")},
      {"--port", "0", "--root", root.path(), "--answers", badAnswers},
      {"--port", "0", "--root", root.path(), "--cert", root.filePath("hello.txt")},
      {"--port", "0", "--root", root.path(), "--cert", root.filePath("hello.txt"), "--key",
       root.filePath("hello.txt")},
  };
  for (const auto& arguments : cases) {
    SCOPED_TRACE(arguments.join(' ').toStdString());
    ServerProcess server(arguments);
    ASSERT_TRUE(server.process().waitForFinished(5000));
    EXPECT_EQ(server.process().exitCode(), 1);
    EXPECT_TRUE(server.process().readAllStandardError().startsWith("solvanta-server: "));
  }
}

}  // namespace
