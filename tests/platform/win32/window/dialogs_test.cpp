#include "platform/win32/dialogs.h"

#include <windows.h>
#include <commctrl.h>
#include <dlgs.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/main_window_definition.h"
#include "app/port_settings_dialog.h"
#include "platform/win32/common_controls.h"
#include "platform/win32/wide_text.h"
#include "platform/win32/window.h"
#include "table/control_ids.h"
#include "tests/platform/account_dialog.h"
#include "tests/platform/win32/window/dialog_answerer.h"

namespace {

using platform::Answer;
using platform::ControlId;
namespace control = table::control;
using platform::MessageButtons;
using platform::MessageIcon;
using testing_support::DialogAnswerer;
using testing_support::pressButton;

std::wstring textOf(HWND window) {
  wchar_t text[1024] = {};
  GetWindowTextW(window, text, 1024);
  return text;
}

std::wstring currentFolder() {
  wchar_t folder[MAX_PATH] = {};
  GetCurrentDirectoryW(MAX_PATH, folder);
  return folder;
}

class Win32DialogsTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { platform::win32::initCommonControls(); }
  void SetUp() override { window.show(); }

  platform::win32::Window window{app::mainWindowDefinition()};
  platform::win32::Dialogs dialogs{window};
};

TEST_F(Win32DialogsTest, messageBoxes_ownerlessWithTheirButtonsAndTheAnswerGiven) {
  struct Case {
    MessageButtons buttons;
    MessageIcon icon;
    std::vector<int> shown;
    int pressed;
    Answer expected;
  };
  const Case cases[] = {
      {MessageButtons::ok, MessageIcon::none, {IDOK}, IDOK, Answer::ok},
      {MessageButtons::yesNoCancel,
       MessageIcon::exclamation,
       {IDYES, IDNO, IDCANCEL},
       IDNO,
       Answer::no},
      {MessageButtons::yesNoCancel,
       MessageIcon::exclamation,
       {IDYES, IDNO, IDCANCEL},
       IDCANCEL,
       Answer::cancel},
      {MessageButtons::yesNo, MessageIcon::exclamation, {IDYES, IDNO}, IDYES, Answer::yes},
  };
  for (const Case& test : cases) {
    HWND owner = window.handle();
    bool shownRight = false;
    DialogAnswerer answerer({{L"\u00c4nderungen speichern ?", [&](HWND box) {
                                shownRight =
                                    GetWindow(box, GW_OWNER) == nullptr && owner != nullptr;
                                for (int id : {IDOK, IDYES, IDNO, IDCANCEL}) {
                                  bool expected =
                                      std::ranges::find(test.shown, id) != test.shown.end();
                                  if ((GetDlgItem(box, id) != nullptr) != expected)
                                    shownRight = false;
                                }
                                pressButton(box, test.pressed);
                              }}});
    Answer answer = dialogs.messageBox("C:\\Adressen\\M\xFCller \x80.vcf",
                                       "\xC4nderungen speichern ?", test.buttons, test.icon);
    EXPECT_TRUE(answerer.finished());
    EXPECT_TRUE(shownRight) << static_cast<int>(test.buttons);
    EXPECT_EQ(answer, test.expected);
  }
}

// The button Enter presses: the one drawn as the default, else the dialog's
// default, else the one that has the focus.
int defaultButtonOf(HWND box) {
  for (int id : {IDOK, IDYES, IDNO, IDCANCEL}) {
    HWND button = GetDlgItem(box, id);
    if (button != nullptr &&
        (GetWindowLongW(button, GWL_STYLE) & BS_TYPEMASK) == BS_DEFPUSHBUTTON) {
      return id;
    }
  }
  LRESULT answer = SendMessageW(box, DM_GETDEFID, 0, 0);
  if (HIWORD(answer) == DC_HASDEFID && GetDlgItem(box, LOWORD(answer)) != nullptr)
    return LOWORD(answer);
  HWND focus = GetFocus();
  return focus != nullptr && GetParent(focus) == box ? GetDlgCtrlID(focus) : 0;
}

TEST_F(Win32DialogsTest, messageBoxes_enterPressesTheDefaultButtonAskedFor) {
  struct Case {
    MessageButtons buttons;
    Answer defaultButton;
    int expected;
  };
  // The first: the question before a file changed by another program is
  // overwritten, where a hasty Enter must not overwrite it.
  const Case cases[] = {
      {MessageButtons::yesNo, Answer::no, IDNO},
      {MessageButtons::yesNo, Answer::yes, IDYES},
      {MessageButtons::yesNoCancel, Answer::no, IDNO},
      {MessageButtons::yesNoCancel, Answer::cancel, IDCANCEL},
      {MessageButtons::yesNoCancel, Answer::yes, IDYES},
  };
  for (const Case& test : cases) {
    int shownDefault = 0;
    DialogAnswerer answerer({{L"Datei ge\u00e4ndert", [&](HWND box) {
                                shownDefault = defaultButtonOf(box);
                                pressButton(box, IDYES);
                              }}});
    dialogs.messageBox("C:\\Adressen\\myadr.vcf\r\nwurde ge\xE4ndert.", "Datei ge\xE4ndert",
                       test.buttons, MessageIcon::exclamation, test.defaultButton);
    EXPECT_TRUE(answerer.finished());
    EXPECT_EQ(shownDefault, test.expected) << static_cast<int>(test.defaultButton);
  }
}

class FileDialogTest : public Win32DialogsTest {
 protected:
  void SetUp() override {
    Win32DialogsTest::SetUp();
    wchar_t temporary[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temporary);
    folder = std::filesystem::path(temporary) / L"morvi-dialogs-test";
    std::filesystem::create_directories(folder);
  }
  void TearDown() override {
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
  }

  platform::FileDialogRequest request(const std::string& title) {
    std::string path = platform::win32::fromWide((folder / L"myadr.vcf").wstring());
    return {.title = title,
            .filterName = "vcard",
            .filterPattern = "*.vcf",
            .defaultSuffix = "vcf",
            .initialPath = path,
            .proposedName = "myadr.vcf",
            .refusalCaption = "Dateiname ?",
            .refusalText =
                "Dieser Dateiname enth\xE4lt Zeichen, die das Programm nicht verwenden "
                "kann:\r\n"};
  }

  // Types a name into the dialog's name field and presses its OK button.
  static void chooseName(HWND dialog, const std::wstring& name) {
    HWND field = GetDlgItem(dialog, edt1);
    if (field == nullptr) field = GetDlgItem(dialog, cmb13);
    SetWindowTextW(field, name.c_str());
    pressButton(dialog, IDOK);
  }

  std::filesystem::path folder;
};

TEST_F(FileDialogTest, open_startsInTheFileFolder_takesAMissingFile_keepsTheCurrentFolder) {
  std::wstring before = currentFolder();
  std::wstring proposed;
  DialogAnswerer answerer({{L"VCard-File", [&](HWND dialog) {
                              proposed =
                                  textOf(GetDlgItem(dialog, edt1) ? GetDlgItem(dialog, edt1)
                                                                  : GetDlgItem(dialog, cmb13));
                              chooseName(dialog, L"neu.vcf");
                            }}});
  auto chosen = dialogs.openFile(request("VCard-File"));
  ASSERT_TRUE(answerer.finished());
  EXPECT_EQ(proposed, L"myadr.vcf");
  ASSERT_TRUE(chosen.has_value());
  EXPECT_EQ(std::filesystem::path(platform::win32::toWide(*chosen)), folder / L"neu.vcf");
  EXPECT_EQ(currentFolder(), before);
}

TEST_F(FileDialogTest, save_addsTheSuffix_refusesANameWithoutWindows1252Form_cancelGivesNothing) {
  std::wstring message;
  DialogAnswerer answerer(
      {{L"Save VCard-File as...", [&](HWND dialog) { chooseName(dialog, L"neu"); }},
       {L"Save VCard-File as...",
        [&](HWND dialog) { chooseName(dialog, L"\u0416\u0443\u043a.vcf"); }},
       {L"Dateiname ?",
        [&](HWND box) {
          message = textOf(GetDlgItem(box, 0xFFFF));
          pressButton(box, IDOK);
        }},
       {L"Save VCard-File as...", [&](HWND dialog) { pressButton(dialog, IDCANCEL); }}});
  auto chosen = dialogs.saveFile(request("Save VCard-File as..."));
  ASSERT_TRUE(chosen.has_value());
  EXPECT_EQ(std::filesystem::path(platform::win32::toWide(*chosen)), folder / L"neu.vcf");
  EXPECT_EQ(dialogs.saveFile(request("Save VCard-File as...")), std::nullopt);
  EXPECT_EQ(dialogs.saveFile(request("Save VCard-File as...")), std::nullopt);
  EXPECT_TRUE(answerer.finished());
  EXPECT_EQ(message.rfind(L"Dieser Dateiname enth\u00e4lt Zeichen", 0), 0u) << message.size();
  EXPECT_NE(message.find(L"\u0416\u0443\u043a.vcf"), std::wstring::npos);
}

TEST_F(Win32DialogsTest, portSettings_placedOverTheMainWindow_okGivesTheText_closingGivesNothing) {
  HWND main = window.handle();
  RECT place{}, client{};
  HWND focus = nullptr, ok = nullptr;
  std::wstring shownPort;
  LONG_PTR exStyle = 0;
  DialogAnswerer answerer(
      {{L"Einstellungen",
        [&](HWND dialog) {
          GetWindowRect(dialog, &place);
          GetClientRect(dialog, &client);
          focus = GetFocus();
          ok = GetDlgItem(dialog, platform::toInt(control::portOkButton));
          exStyle = GetWindowLongPtrW(dialog, GWL_EXSTYLE);
          HWND field = GetDlgItem(dialog, platform::toInt(control::portEdit));
          shownPort = textOf(field);
          SetWindowTextW(field, L" com12 ");
          SendMessageW(ok, BM_CLICK, 0, 0);
        }},
       {L"Einstellungen", [&](HWND dialog) { PostMessageW(dialog, WM_CLOSE, 0, 0); }},
       {L"Einstellungen", [&](HWND dialog) {
          HWND field = GetDlgItem(dialog, platform::toInt(control::portEdit));
          PostMessageW(field, WM_KEYDOWN, VK_ESCAPE, 0);
        }}});
  EXPECT_EQ(dialogs.askForText(app::portSettingsDialog(), "COM3"), " com12 ");
  EXPECT_EQ(dialogs.askForText(app::portSettingsDialog(), "COM3"), std::nullopt);
  EXPECT_EQ(dialogs.askForText(app::portSettingsDialog(), "COM3"), std::nullopt);
  EXPECT_TRUE(answerer.finished());

  POINT expected{348, 289};
  ClientToScreen(main, &expected);
  EXPECT_EQ(place.left, expected.x);
  EXPECT_EQ(place.top, expected.y);
  EXPECT_EQ(client.right, 479);
  EXPECT_EQ(client.bottom, 169);
  EXPECT_EQ(shownPort, L"COM3");
  EXPECT_EQ(focus, ok);
  EXPECT_NE(exStyle & WS_EX_APPWINDOW, 0);
  EXPECT_TRUE(IsWindowEnabled(main));
}

TEST_F(Win32DialogsTest, severalFields_everyButtonClosesWithEveryField_enterPressesTheFirst) {
  namespace account = testing_support::account;
  using platform::DialogResult;
  auto item = [](HWND dialog, ControlId id) { return GetDlgItem(dialog, platform::toInt(id)); };
  struct Case {
    std::function<void(HWND)> answer;
    std::optional<DialogResult> expected;
  };
  const Case cases[] = {
      {[&](HWND dialog) {
         SetWindowTextW(item(dialog, account::userEdit), L"m\u00fcller");
         SetWindowTextW(item(dialog, account::passwordEdit), L"geh\u20acim");
         SendMessageW(item(dialog, account::syncButton), BM_CLICK, 0, 0);
       },
       DialogResult{account::syncButton,
                    {{account::serverEdit, "dav.example.org"},
                     {account::userEdit, "m\xFCller"},
                     {account::passwordEdit, "geh\x80im"}}}},
      {[&](HWND dialog) {
         HWND password = item(dialog, account::passwordEdit);
         SetFocus(password);
         SetWindowTextW(password, L"x");
         PostMessageW(password, WM_KEYDOWN, VK_RETURN, 0);
       },
       DialogResult{account::okButton,
                    {{account::serverEdit, "dav.example.org"},
                     {account::userEdit, ""},
                     {account::passwordEdit, "x"}}}},
      {[&](HWND dialog) {
         PostMessageW(item(dialog, account::serverEdit), WM_KEYDOWN, VK_ESCAPE, 0);
       },
       std::nullopt},
  };
  for (const Case& test : cases) {
    HWND focus = nullptr, ok = nullptr;
    LONG passwordStyle = 0;
    LRESULT passwordCharacter = 0;
    std::vector<int> tabOrder;
    DialogAnswerer answerer({{L"Konto", [&](HWND dialog) {
                                focus = GetFocus();
                                ok = item(dialog, account::okButton);
                                HWND password = item(dialog, account::passwordEdit);
                                passwordStyle = GetWindowLongW(password, GWL_STYLE);
                                passwordCharacter =
                                    SendMessageW(password, EM_GETPASSWORDCHAR, 0, 0);
                                HWND next = item(dialog, account::serverEdit);
                                for (int step = 0; step < 5; ++step) {
                                  tabOrder.push_back(GetDlgCtrlID(next));
                                  next = GetNextDlgTabItem(dialog, next, FALSE);
                                }
                                test.answer(dialog);
                              }}});
    const platform::DialogField given[] = {{account::serverEdit, "dav.example.org"}};
    EXPECT_EQ(dialogs.askForTexts(account::dialog, given), test.expected);
    EXPECT_TRUE(answerer.finished());
    EXPECT_EQ(focus, ok);
    EXPECT_NE(passwordStyle & ES_PASSWORD, 0);
    EXPECT_NE(passwordCharacter, 0);
    EXPECT_EQ(tabOrder, (std::vector<int>{2001, 2002, 2003, 2004, 2005}));
  }
}

}  // namespace
