#pragma once

#include <QIcon>
#include <QPixmap>
#include <QSize>
#include <initializer_list>
#include <string_view>

namespace platform::qt {

// The resource path of a picture of the program's set: ":/pictures/<name>.svg".
[[nodiscard]] QString picturePath(std::string_view name);

// The picture drawn at size (stretched to it) for a screen with the given
// pixel ratio; a null pixmap when there is no such picture.
[[nodiscard]] QPixmap renderPicture(std::string_view name, QSize size, qreal devicePixelRatio = 1);

// The picture drawn at each of the sizes; an empty icon when there is no such
// picture.
[[nodiscard]] QIcon pictureIcon(std::string_view name, std::initializer_list<QSize> sizes,
                                qreal devicePixelRatio = 1);

}  // namespace platform::qt
