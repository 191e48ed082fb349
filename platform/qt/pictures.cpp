#include "platform/qt/pictures.h"

#include <QFile>
#include <QPainter>
#include <QSvgRenderer>
#include <cmath>

#include "platform/qt/text_conversion.h"

#ifdef MORVI_HAVE_PICTURES
// Q_INIT_RESOURCE declares a global function, so it must be used outside a
// namespace. The pictures are compiled into a static library, whose
// registration would otherwise be dropped by the linker.
static void registerPictures() { Q_INIT_RESOURCE(resources); }
#endif

namespace platform::qt {

namespace {

void ensurePicturesRegistered() {
#ifdef MORVI_HAVE_PICTURES
  static const bool registered = (registerPictures(), true);
  (void)registered;
#endif
}

}  // namespace

QString picturePath(std::string_view name) {
  return QStringLiteral(":/pictures/") + toQString(name) + QStringLiteral(".svg");
}

QPixmap renderPicture(std::string_view name, QSize size, qreal devicePixelRatio) {
  ensurePicturesRegistered();
  QString path = picturePath(name);
  if (name.empty() || size.isEmpty() || !QFile::exists(path)) return {};
  QSvgRenderer renderer(path);
  if (!renderer.isValid()) return {};
  QPixmap pixmap(static_cast<int>(std::lround(size.width() * devicePixelRatio)),
                 static_cast<int>(std::lround(size.height() * devicePixelRatio)));
  pixmap.fill(Qt::transparent);
  {
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    renderer.render(&painter, QRectF(0, 0, pixmap.width(), pixmap.height()));
  }
  pixmap.setDevicePixelRatio(devicePixelRatio);
  return pixmap;
}

QIcon pictureIcon(std::string_view name, std::initializer_list<QSize> sizes,
                  qreal devicePixelRatio) {
  QIcon icon;
  for (QSize size : sizes) {
    QPixmap pixmap = renderPicture(name, size, devicePixelRatio);
    if (!pixmap.isNull()) icon.addPixmap(pixmap);
  }
  return icon;
}

}  // namespace platform::qt
