#include "sim/DemoPictures.h"

#include <QBuffer>
#include <QImage>
#include <QPainter>
#include <QPainterPath>

#include "sim/DemoWorld.h"

namespace sim {

namespace {

enum class Kind { Phone, Tablet, Tv, Notebook };

struct Picture {
  const char* file;
  Kind kind;
  QRgb accent;
};

constexpr Picture kPictures[] = {
    {"flip2.jpg", Kind::Phone, qRgb(196, 48, 43)},
    {"nova5.jpg", Kind::Phone, qRgb(32, 96, 180)},
    {"flip1.jpg", Kind::Phone, qRgb(90, 90, 90)},
    {"t7.jpg", Kind::Tablet, qRgb(40, 150, 90)},
    {"t10pro.jpg", Kind::Tablet, qRgb(30, 30, 30)},
    {"t8.jpg", Kind::Tablet, qRgb(205, 154, 51)},
    {"t7kids.jpg", Kind::Tablet, qRgb(240, 120, 30)},
    {"t6.jpg", Kind::Tablet, qRgb(120, 60, 160)},
    {"tv32hd.jpg", Kind::Tv, qRgb(32, 96, 180)},
    {"tv24.jpg", Kind::Tv, qRgb(40, 150, 90)},
    {"tv43uhd.jpg", Kind::Tv, qRgb(196, 48, 43)},
    {"tv50uhd.jpg", Kind::Tv, qRgb(205, 154, 51)},
    {"tv55qled.jpg", Kind::Tv, qRgb(120, 60, 160)},
    {"vx14.jpg", Kind::Notebook, qRgb(32, 96, 180)},
    {"vx13.jpg", Kind::Notebook, qRgb(90, 90, 90)},
};

constexpr char kFolder[] = "/solvanta/imagens/";

// A device drawn without text: body in dark grey, screen in the accent colour.
QImage Draw(Kind kind, QColor accent) {
  QImage image(400, 400, QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  QLinearGradient screen(0, 0, 400, 400);
  screen.setColorAt(0, accent.lighter(150));
  screen.setColorAt(1, accent.darker(130));
  const QColor body(38, 42, 48);
  p.setPen(Qt::NoPen);
  switch (kind) {
    case Kind::Phone:
      p.setBrush(body);
      p.drawRoundedRect(QRectF(130, 40, 140, 300), 24, 24);
      p.setBrush(screen);
      p.drawRoundedRect(QRectF(142, 70, 116, 230), 6, 6);
      break;
    case Kind::Tablet:
      p.setBrush(body);
      p.drawRoundedRect(QRectF(80, 60, 240, 300), 20, 20);
      p.setBrush(screen);
      p.drawRect(QRectF(96, 82, 208, 256));
      break;
    case Kind::Tv:
      p.setBrush(body);
      p.drawRoundedRect(QRectF(30, 80, 340, 210), 8, 8);
      p.setBrush(screen);
      p.drawRect(QRectF(40, 90, 320, 190));
      p.setBrush(body);
      p.drawRect(QRectF(185, 290, 30, 40));
      p.drawRoundedRect(QRectF(130, 330, 140, 12), 6, 6);
      break;
    case Kind::Notebook: {
      p.setBrush(body);
      p.drawRoundedRect(QRectF(80, 80, 240, 170), 10, 10);
      p.setBrush(screen);
      p.drawRect(QRectF(92, 92, 216, 146));
      QPainterPath base;
      base.moveTo(50, 260);
      base.lineTo(350, 260);
      base.lineTo(330, 290);
      base.lineTo(70, 290);
      base.closeSubpath();
      p.setBrush(body.lighter(160));
      p.drawPath(base);
      break;
    }
  }
  // The maker's mark: a gold ring in a corner.
  p.setBrush(Qt::NoBrush);
  p.setPen(QPen(QColor(205, 154, 51), 6));
  p.drawEllipse(QPointF(360, 360), 18, 18);
  return image;
}

}  // namespace

std::expected<void, std::string> AddDemoPictures(DemoWorld& world) {
  for (const Picture& picture : kPictures) {
    QByteArray jpeg;
    QBuffer buffer(&jpeg);
    buffer.open(QIODevice::WriteOnly);
    if (!Draw(picture.kind, QColor(picture.accent)).save(&buffer, "JPG", 90)) {
      return std::unexpected(std::string("não foi possível desenhar ") + picture.file);
    }
    const auto served = world.AddServedFile(std::string(kFolder) + picture.file,
                                            std::string_view(jpeg.constData(), jpeg.size()));
    if (!served)
      return std::unexpected(served.error());
  }
  world.Server().SetUpdateDbTvs(DemoTvsAnswer(world.ServerUrl()));
  return {};
}

std::string DemoTvsAnswer(const std::string& serverUrl) {
  const std::string pictures = serverUrl + kFolder;
  const std::string firmwares = serverUrl + "/solvanta/firmwares/";
  const std::string menu =
      "Com o pendrive conectado à TV, abra Menu > Suporte > Atualização de software e escolha "
      "\"Por USB\".";
  const std::string forced =
      "Com a TV desligada da tomada, conecte o pendrive, mantenha pressionado o botão Power e "
      "ligue-a na tomada.";
  // code $ name $ picture $ - $ - $ pendrive GB $ release $ firmware $ - $ forced $ - $ menu $
  // md5 $ key
  const auto record = [&](const std::string& code, const std::string& name,
                          const std::string& picture, const std::string& release,
                          const std::string& firmware, const std::string& md5,
                          const std::string& id) {
    return code + "$" + name + "$" + pictures + picture + "$$$8$" + release + "$" + firmwares +
           firmware + "$$" + forced + "$$" + menu + "$" + md5 + "$" + id + "#";
  };
  return record("43UH1", "Smart TV Solvanta 43' 4K", "tv43uhd.jpg", "P", "tv43uhd.zip",
                "b7c8d9e0f1a2b3c4d5e6f708192a3b4c", "1001") +
         record("50UH2", "Smart TV Solvanta 50' 4K", "tv50uhd.jpg", "P", "tv50uhd.zip",
                "c8d9e0f1a2b3c4d5e6f708192a3b4c5d", "1002") +
         record("55QL3", "Smart TV Solvanta 55' QLED", "tv55qled.jpg", "H", "tv55qled.zip",
                "d9e0f1a2b3c4d5e6f708192a3b4c5d6e", "1003");
}

}  // namespace sim
