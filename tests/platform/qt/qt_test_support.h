#pragma once

#include <QApplication>
#include <QElapsedTimer>
#include <QPointer>
#include <QString>
#include <QTimer>
#include <functional>
#include <string>
#include <vector>

#include "platform/table_content.h"
#include "platform/window.h"

namespace testing_support {

// Rows of cells held in memory, 1-based like the program's table.
class VectorTableContent : public platform::TableContent {
 public:
  [[nodiscard]] int rowCount() const override { return static_cast<int>(rows.size()); }
  [[nodiscard]] std::string cell(int row, int column) const override;
  std::vector<std::vector<std::string>> rows;
};

// Records every event the window reports.
class RecordingEvents : public platform::WindowEvents {
 public:
  void timerExpired() override { ++timerExpiries; }
  void controlClicked(platform::ControlId id) override { clicks.push_back(id); }
  void columnClicked(int column) override { clickedColumns.push_back(column); }
  void activationChanged(bool active) override { activations.push_back(active); }
  bool closeRequested() override {
    ++closeRequests;
    return allowClose;
  }

  int timerExpiries = 0;
  std::vector<platform::ControlId> clicks;
  std::vector<int> clickedColumns;
  std::vector<bool> activations;
  int closeRequests = 0;
  bool allowClose = true;
};

// Plays the user of modal dialogs: each action runs on the next modal dialog
// that shows, in order. A dialog still open after some seconds is closed and
// the test fails, so a test that waits for the wrong dialog cannot hang.
class ModalScript {
 public:
  explicit ModalScript(std::vector<std::function<void(QWidget*)>> actions);
  ~ModalScript();
  ModalScript(const ModalScript&) = delete;
  ModalScript& operator=(const ModalScript&) = delete;

  [[nodiscard]] bool finished() const { return next_ == actions_.size(); }

 private:
  void poll();

  std::vector<std::function<void(QWidget*)>> actions_;
  std::size_t next_ = 0;
  QPointer<QWidget> lastDialog_;
  QElapsedTimer running_;
  QTimer timer_;
};

[[nodiscard]] inline QString qs(const char16_t* text) { return QString::fromUtf16(text); }

}  // namespace testing_support
