#include "tests/end_to_end/end_to_end_support.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>
#include <cstdlib>

#include "app/setting_keys.h"
#include "platform/qt/record_table_view.h"
#include "platform/qt/status_bar.h"
#include "platform/qt/text_conversion.h"
#include "table/control_ids.h"
#include "tests/platform/qt/key_typing.h"

namespace testing_support {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using platform::ControlId;
namespace control = table::control;

namespace {

std::optional<std::string> variable(const char* name) {
  const char* value = std::getenv(name);
  return value == nullptr ? std::nullopt : std::optional<std::string>(value);
}

void restore(const char* name, const std::optional<std::string>& value) {
  if (value) {
    setenv(name, value->c_str(), 1);
  } else {
    unsetenv(name);
  }
}

bool isAscii(const QString& text) {
  for (QChar c : text) {
    if (c.unicode() > 0x7E) return false;
  }
  return true;
}

}  // namespace

bool waitUntil(const std::function<bool()>& condition, std::chrono::milliseconds limit) {
  QElapsedTimer running;
  running.start();
  while (!condition()) {
    if (running.elapsed() > limit.count()) return false;
    QTest::qWait(10);
  }
  return true;
}

TemporaryHome::TemporaryHome()
    : home_(dir_.path() / "home"),
      config_(home_ / ".config"),
      state_(home_ / ".local" / "state"),
      work_(dir_.path() / "Arbeit"),
      oldHome_(variable("HOME")),
      oldConfig_(variable("XDG_CONFIG_HOME")),
      oldState_(variable("XDG_STATE_HOME")),
      oldWork_(fs::current_path()) {
  fs::create_directories(config_);
  fs::create_directories(work_);
  setenv("HOME", home_.c_str(), 1);
  setenv("XDG_CONFIG_HOME", config_.c_str(), 1);
  setenv("XDG_STATE_HOME", state_.c_str(), 1);
  fs::current_path(work_);
}

std::string TemporaryHome::writeAddressBook(std::string_view cards) const {
  const std::string file = (home_ / "adressen.vcf").string();
  writeBytes(file, cards);
  writeBytes(configFile(), "[VC]\r\nFile=" + file + "\r\n");
  return file;
}

TemporaryHome::~TemporaryHome() {
  std::error_code ignored;
  fs::current_path(oldWork_, ignored);
  restore("HOME", oldHome_);
  restore("XDG_CONFIG_HOME", oldConfig_);
  restore("XDG_STATE_HOME", oldState_);
}

RunningProgram::RunningProgram()
    : program(
          {window, window, window, dialogs, profile, files, clock, serial, shell, *http, keyring},
          platform::configCandidatesOfThisProcess(app::configFileName),
          platform::backupFolderOfThisProcess(app::stateFolderName)) {}

RunningProgram::~RunningProgram() = default;

void RunningProgram::start() {
  program.start();
  EXPECT_TRUE(QTest::qWaitForWindowExposed(window.widget()));
}

void RunningProgram::click(ControlId id) {
  QWidget* button = control(id);
  ASSERT_NE(button, nullptr);
  ASSERT_TRUE(button->isVisible()) << "button " << platform::toInt(id) << " is hidden";
  QTest::mouseClick(button, Qt::LeftButton);
}

void RunningProgram::typeInto(ControlId id, std::string_view text) {
  QWidget* field = control(id);
  ASSERT_NE(field, nullptr);
  QTest::mouseClick(field, Qt::LeftButton);
  QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
  QTest::keyClick(field, Qt::Key_Delete);
  // Lines of the notes field are typed with Enter between them.
  const QStringList lines = platform::qt::toQString(text).split(QLatin1Char('\n'));
  for (qsizetype i = 0; i < lines.size(); ++i) {
    if (i > 0) QTest::keyClick(field, Qt::Key_Return);
    if (isAscii(lines[i])) {
      QTest::keyClicks(field, lines[i]);
    } else {
      typeKeys(field, lines[i]);
    }
  }
}

int RunningProgram::rowCount() const {
  auto* table = window.table();
  return table == nullptr ? 0 : table->model()->rowCount();
}

std::string RunningProgram::cell(int row, int column) const {
  auto* model = window.table()->model();
  return platform::qt::toCp1252(model->data(model->index(row - 1, column - 1)).toString());
}

std::vector<std::string> RunningProgram::columnTexts(int column) const {
  std::vector<std::string> texts;
  for (int row = 1; row <= rowCount(); ++row) texts.push_back(cell(row, column));
  return texts;
}

int RunningProgram::rowOf(std::string_view name) const {
  for (int row = 1; row <= rowCount(); ++row) {
    if (cell(row, 1) == name) return row;
  }
  return 0;
}

void RunningProgram::clickRow(int row, bool atOnce) {
  auto* table = window.table();
  ASSERT_NE(table, nullptr);
  ASSERT_GE(row, 1);
  QModelIndex index = table->model()->index(row - 1, 0);
  ASSERT_TRUE(index.isValid()) << "no row " << row;
  if (!atOnce) {
    ASSERT_TRUE(waitUntil([&] {
      return text(control::rowLabel) ==
             std::string(" ").append(std::to_string(window.selectedRow()));
    })) << "the row label stays at "
        << text(control::rowLabel);
  }
  table->scrollTo(index);
  // A user clicks what the table shows: wait until the row has its place.
  ASSERT_TRUE(waitUntil([&] {
    QRect place = table->visualRect(index);
    return place.isValid() && table->viewport()->rect().contains(place.center());
  })) << "row "
      << row << " is not shown";
  QTest::mouseClick(table->viewport(), Qt::LeftButton, Qt::NoModifier,
                    table->visualRect(index).center());
}

void RunningProgram::clickHeader(int column) {
  auto* table = window.table();
  ASSERT_NE(table, nullptr);
  QHeaderView* header = table->horizontalHeader();
  int section = column - 1;
  QPoint middle(header->sectionViewportPosition(section) + header->sectionSize(section) / 2,
                header->height() / 2);
  QTest::mouseClick(header->viewport(), Qt::LeftButton, Qt::NoModifier, middle);
}

std::string RunningProgram::statusText(int part) const {
  auto* bar = window.statusBar();
  QLabel* label = bar == nullptr ? nullptr : bar->part(part);
  return label == nullptr ? std::string() : platform::qt::toCp1252(label->text());
}

bool RunningProgram::closeWindow() {
  QWidget* frame = window.widget();
  return frame != nullptr && frame->close();
}

std::string Telephone::receivedAtLeast(std::size_t count) const {
  waitUntil([&] { return received().size() >= count; });
  return received();
}

RecordingOpener::RecordingOpener() : record_(dir_.path() / "call"), oldPath_(variable("PATH")) {
  fs::path bin = dir_.path() / "bin";
  fs::create_directory(bin);
  const std::string script =
      "#!/bin/sh\n"
      "out='" +
      record_.string() +
      "'\n"
      "printf '%s\\n' \"$#\" > \"$out.tmp\"\n"
      "printf '%s' \"$1\" >> \"$out.tmp\"\n"
      "mv \"$out.tmp\" \"$out\"\n";
  writeBytes(bin / "xdg-open", script);
  fs::permissions(bin / "xdg-open", fs::perms::owner_all);
  std::string path = bin.string();
  if (oldPath_) path += ":" + *oldPath_;
  setenv("PATH", path.c_str(), 1);
}

RecordingOpener::~RecordingOpener() { restore("PATH", oldPath_); }

std::string RecordingOpener::takeCall() {
  if (!waitUntil([&] { return fs::exists(record_); })) return "(xdg-open was not started)";
  std::string call = readBytes(record_);
  fs::remove(record_);
  return call;
}

}  // namespace testing_support
