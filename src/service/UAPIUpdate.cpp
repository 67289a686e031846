// The self-update check of the application object.
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QTextStream>

#include "app/Globals.h"
#include "app/UAPI.h"
#include "platform/Platform.h"
#include "service/Idmserver.h"
#include "service/SystemUpdateRules.h"
#include "service/UpdateSystem.h"

namespace {

const QString kNoService =
    QStringLiteral("Não foi possível se comunicar com o servidor de atualização");

}  // namespace

void TUAPI::Terminate() {
  terminating_ = true;
  QCoreApplication::exit(0);
}

bool TUAPI::CheckSystemUpdate() {
  UpdateSystemFile.clear();
  UpdateSystemVersion.clear();
  UpdateSystemSavePlace.clear();
  UpdateSystemExtractDir.clear();

  // The answer goes through a file in the hidden folder and is read back.
  const QString answerFile =
      fHiddenDir +
      selfupdate::AnswerFileName(QFileInfo(QCoreApplication::applicationFilePath()).fileName());
  try {
    if (!httprioUpdate)
      throw service::ServiceError(service::ServiceError::Kind::Transport, "");
    const std::string answer = httprioUpdate->ReturnUpdate(service::kKey);
    QFile::remove(answerFile);
    CriaBatNoSlash(answerFile, QString::fromStdString(answer));
    QFile file(answerFile);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
      throw std::runtime_error("answer file");
    }
    QTextStream lines(&file);
    while (!lines.atEnd()) {
      const QStringList fields = selfupdate::AnswerFields(lines.readLine());
      UpdateSystemFile << fields[0];
      UpdateSystemVersion << fields[1];
      UpdateSystemSavePlace << fields[2];
      UpdateSystemExtractDir << fields[3];
    }
  } catch (const std::exception&) {
    MsgPadrao(kNoService, false);
    return false;
  }

  auto& registry = *platform::Current().registry;
  const std::string key = (FregistryHive + QLatin1Char('\\') + FregistryHiveUpdates).toStdString();
  registry.CreateKey(platform::Hive::CurrentUser, key);
  UpdateSystem->ZeraParm();

  bool result = false;
  QString list;
  for (qsizetype i = 0; i < UpdateSystemFile.size(); ++i) {
    const QString& file = UpdateSystemFile[i];
    const auto installed = registry.ReadValue(platform::Hive::CurrentUser, key,
                                              selfupdate::VersionValueName(file).toStdString());
    if (!selfupdate::UpdateNeeded(UpdateSystemVersion[i], MainSystemBaseVersion, installed)) {
      continue;
    }
    result = true;
    UpdateSystem->AddUrl(UrlServerUpdate + file);
    UpdateSystem->AddLocalSalvar(fHiddenDir);
    list += QStringList{file, UpdateSystemSavePlace[i], UpdateSystemExtractDir[i],
                        UpdateSystemVersion[i]}
                .join(QLatin1Char(',')) +
            QStringLiteral("\r\n");
  }
  if (!list.isEmpty())
    CriaBatNoSlash(FdataDir + QStringLiteral("Softwareupdate.slv"), list);
  return result;
}
