#include "tests/platform/qt/qt_test_support.h"

#include <gtest/gtest.h>

#include <QDialog>

namespace testing_support {

std::string VectorTableContent::cell(int row, int column) const {
  const auto& cells = rows.at(static_cast<std::size_t>(row - 1));
  auto index = static_cast<std::size_t>(column - 1);
  return index < cells.size() ? cells[index] : std::string();
}

ModalScript::ModalScript(std::vector<std::function<void(QWidget*)>> actions)
    : actions_(std::move(actions)) {
  running_.start();
  QObject::connect(&timer_, &QTimer::timeout, [this] { poll(); });
  timer_.start(10);
}

ModalScript::~ModalScript() {
  timer_.stop();
  EXPECT_TRUE(finished()) << "a dialog the test waited for did not show";
}

void ModalScript::poll() {
  QWidget* modal = QApplication::activeModalWidget();
  if (modal != nullptr && modal->isVisible() && modal != lastDialog_ && !finished()) {
    lastDialog_ = modal;
    actions_[next_++](modal);
    return;
  }
  if (running_.elapsed() > 8000 && modal != nullptr) {
    ADD_FAILURE() << "a dialog stayed open";
    if (auto* dialog = qobject_cast<QDialog*>(modal)) {
      dialog->reject();
    } else {
      modal->close();
    }
  }
}

}  // namespace testing_support
