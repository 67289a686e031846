// The picture pre-caching: which catalogue pictures are missing, and the
// image cache screen that fetches them.
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QTimer>

#include "ProgramWorld.h"
#include "app/Globals.h"
#include "app/UAPI.h"
#include "catalogue/DataModule.h"
#include "download/UformCacheImg.h"

namespace {

void WriteFile(const QString& path, const QByteArray& contents) {
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(contents);
}

QByteArray ReadAll(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

TEST_F(ProgramWorld, PrecacheListsExactlyTheMissingPicturesOncePerRow) {
  Start();
  ASSERT_TRUE(dm->Command(QStringLiteral("DELETE FROM devices")));
  ASSERT_TRUE(dm->Command(
      QStringLiteral("INSERT INTO devices (id, description, url_picture) VALUES "
                     "(1, 'A', 'http://h/img/a.jpg'), (2, 'B', 'http://h/other/a.jpg'), "
                     "(3, 'C', 'http://h/img/c.jpg')")));
  dm->devices.Close();
  QDir().mkpath(UAPI->FImgDir);
  WriteFile(UAPI->FImgDir + QStringLiteral("c.jpg"), "c");

  EXPECT_TRUE(UAPI->PrecacheImgs());
  EXPECT_EQ(Img->aprodutosurl, (QStringList{QStringLiteral("http://h/img/a.jpg"),
                                            QStringLiteral("http://h/other/a.jpg")}));

  WriteFile(UAPI->FImgDir + QStringLiteral("a.jpg"), "a");
  EXPECT_FALSE(UAPI->PrecacheImgs());
  EXPECT_TRUE(Img->aprodutosurl.isEmpty());
}

TEST_F(ProgramWorld, CacheScreenFetchesMissingPicturesUnderTheirListedNames) {
  ASSERT_TRUE(world_->AddServedFile("/img/Foto Um.jpg", "um"));
  ASSERT_TRUE(world_->AddServedFile("/img/Foto Dois.jpg", "dois"));
  ASSERT_TRUE(world_->AddServedFile("/img/cached.jpg", "server copy"));
  Start();
  QDir().mkpath(UAPI->FImgDir);
  WriteFile(UAPI->FImgDir + QStringLiteral("cached.jpg"), "local copy");
  const QString base = QString::fromStdString(world_->ServerUrl());
  Img->aprodutosurl = {
      base + QStringLiteral("/img/Foto Um.jpg"), base + QStringLiteral("/img\\Foto Dois.jpg"),
      base + QStringLiteral("/img/missing.jpg"), base + QStringLiteral("/img/cached.jpg")};
  QTimer::singleShot(20000, Img, [] { Img->reject(); });  // a hang fails the test

  EXPECT_EQ(Img->exec(), QDialog::Accepted);

  EXPECT_EQ(Img->aContador, 4);
  EXPECT_EQ(ReadAll(UAPI->FImgDir + QStringLiteral("Foto Um.jpg")), "um");
  EXPECT_EQ(ReadAll(UAPI->FImgDir + QStringLiteral("Foto Dois.jpg")), "dois");
  EXPECT_EQ(ReadAll(UAPI->FImgDir + QStringLiteral("cached.jpg")), "local copy");
  EXPECT_FALSE(QFile::exists(UAPI->FImgDir + QStringLiteral("missing.jpg")));
  for (const auto& request : world_->Server().Requests()) {
    EXPECT_NE(request.path, "/img/cached.jpg") << "a cached picture is fetched again";
  }
  EXPECT_TRUE(Img->progressoGeral()->text().startsWith(QStringLiteral("Iniciando: ")));
}

}  // namespace
