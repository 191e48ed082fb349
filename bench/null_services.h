#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "platform/dialogs.h"
#include "platform/record_view.h"
#include "platform/shell.h"
#include "platform/status_bar.h"
#include "platform/window.h"

namespace bench {

// A window that draws nothing: the load and the fill run against it at full
// speed. Only the selection is kept.
class NullWindow : public platform::Window,
                   public platform::RecordView,
                   public platform::StatusBar {
 public:
  [[nodiscard]] std::string text(platform::ControlId) const override { return {}; }
  void setText(platform::ControlId, std::string_view) override {}
  void setVisible(platform::ControlId, bool) override {}
  [[nodiscard]] bool isVisible(platform::ControlId) const override { return true; }
  void setFocus(platform::ControlId) override {}
  [[nodiscard]] platform::ControlId focusedControl() const override {
    return platform::ControlId::none;
  }
  void addTooltip(platform::ControlId, std::string_view) override {}
  void show() override {}
  void setEventHandler(platform::WindowEvents*) override {}
  void startTimer(int) override {}
  void processPendingEvents() override {}
  [[nodiscard]] bool isAlive() const override { return true; }

  void setText(int, std::string_view) override { ++statusWrites; }
  void setProgress(int) override {}

  void setColumns(std::span<const platform::TableColumn>) override {}
  [[nodiscard]] int columnWidth(int) const override { return 0; }
  void setContent(const platform::TableContent&) override {}
  void reset() override {}
  void rowAppended() override {}
  void rowChanged(int) override {}
  [[nodiscard]] int selectedRow() const override { return selected; }
  void selectRow(int row) override { selected = row; }
  void scrollToRow(int) override {}

  int selected = 0;
  long statusWrites = 0;
};

// Dialogs that nobody answers: a message box counts as a failure of the
// benchmark, a file dialog is cancelled.
class NullDialogs : public platform::Dialogs {
 public:
  platform::Answer messageBox(std::string_view text, std::string_view caption,
                              platform::MessageButtons, platform::MessageIcon,
                              platform::Answer) override {
    lastMessage = std::string(caption) + ": " + std::string(text);
    ++messages;
    return platform::Answer::ok;
  }
  std::optional<std::string> openFile(const platform::FileDialogRequest&) override { return {}; }
  std::optional<std::string> saveFile(const platform::FileDialogRequest&) override { return {}; }
  std::optional<platform::DialogResult> askForTexts(
      const platform::DialogDefinition&, std::span<const platform::DialogField>) override {
    return {};
  }

  int messages = 0;
  std::string lastMessage;
};

// A desktop that opens nothing: the files handed to it are only counted.
class NullShell : public platform::Shell {
 public:
  void openUrl(std::string_view) override {}
  void openFile(std::string_view) override { ++openedFiles; }

  int openedFiles = 0;
};

}  // namespace bench
