#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/dialogs.h"
#include "platform/shell.h"
#include "platform/window.h"

namespace bench {

// A window that draws nothing: the load and the fill run against it at full
// speed. Only the search field's text is kept, as the fill reads it.
class NullWindow : public platform::Window {
 public:
  [[nodiscard]] std::string text(platform::ControlId id) const override {
    return id == platform::ControlId::filterEdit ? filter : std::string();
  }
  void setText(platform::ControlId id, std::string_view text) override {
    if (id == platform::ControlId::filterEdit) filter = text;
  }
  void setVisible(platform::ControlId, bool) override {}
  [[nodiscard]] bool isVisible(platform::ControlId) const override { return true; }
  void setFocus(platform::ControlId) override {}
  [[nodiscard]] platform::ControlId focusedControl() const override {
    return platform::ControlId::none;
  }
  void addTooltip(platform::ControlId, std::string_view) override {}
  void setStatusText(int, std::string_view) override { ++statusWrites; }
  void setProgress(int) override {}
  void setTableColumns(std::span<const platform::TableColumn>) override {}
  [[nodiscard]] int tableColumnWidth(int) const override { return 0; }
  void setTableContent(const platform::TableContent&) override {}
  void tableReset() override {}
  void tableRowAppended() override {}
  void tableRowChanged(int) override {}
  [[nodiscard]] int selectedRow() const override { return selected; }
  void selectRow(int row) override { selected = row; }
  void scrollToRow(int) override {}
  void show() override {}
  void setEventHandler(platform::WindowEvents*) override {}
  void startTimer(int) override {}
  void processPendingEvents() override {}
  [[nodiscard]] bool isAlive() const override { return true; }

  std::string filter;  // Windows-1252
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
  std::optional<std::string> portSettings(std::string_view) override { return {}; }

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
