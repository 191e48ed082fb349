#pragma once

#include <Qt>

#include "platform/window_definition.h"

namespace platform::qt {

// The Qt alignment of a label's text.
[[nodiscard]] inline Qt::Alignment toAlignment(Alignment alignment) {
  switch (alignment) {
    case Alignment::left:
      return Qt::AlignLeft | Qt::AlignTop;
    case Alignment::right:
      return Qt::AlignRight | Qt::AlignTop;
    case Alignment::centre:
      return Qt::AlignHCenter | Qt::AlignTop;
    case Alignment::centreBoth:
      return Qt::AlignCenter;
  }
  return Qt::AlignLeft | Qt::AlignTop;
}

}  // namespace platform::qt
