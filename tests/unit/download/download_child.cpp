// Downloads one URL the way the download screen does (polling every 200 ms,
// resuming from "DS.ini"), so that it can be killed and started again.
// Usage: solvanta_download_child URL LOCAL_FILE STATE_FOLDER [CHECKPOINT_MS]
// Exit code 0 when the file is complete, 2 for wrong arguments.

#include <QCoreApplication>
#include <QTimer>
#include <cstdio>

#include "download/UMPDownloader.h"

int main(int argc, char* argv[]) {
  QCoreApplication app(argc, argv);
  const QStringList args = app.arguments();
  if (args.size() < 4) {
    std::fprintf(stderr, "usage: %s URL LOCAL_FILE STATE_FOLDER [CHECKPOINT_MS]\n", argv[0]);
    return 2;
  }
  TUMPDownloader downloader(args[3]);
  if (args.size() > 4)
    downloader.CheckpointInterval = std::chrono::milliseconds(args[4].toInt());
  downloader.SetDownload(args[1], args[2]);
  QTimer timer;
  QObject::connect(&timer, &QTimer::timeout, &app, [&] {
    if (downloader.GetStatusDownload()) {
      downloader.StopDownload(&timer);
      app.exit(0);
    }
  });
  downloader.StarDownload(&timer);
  return app.exec();
}
