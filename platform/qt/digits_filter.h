#pragma once

#include <QObject>

namespace platform::qt {

// Installed on an edit field, lets only the digits 0 to 9 through from the
// keyboard (typed keys and input-method text). Shortcuts, navigation and
// editing keys pass; text pasted or set by the program is not checked.
class DigitsFilter : public QObject {
 public:
  using QObject::QObject;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
};

}  // namespace platform::qt
