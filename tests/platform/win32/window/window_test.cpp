#include "platform/win32/window.h"

#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/main_window_definition.h"
#include "platform/win32/common_controls.h"
#include "platform/win32/wide_text.h"
#include "table/control_ids.h"
#include "tests/fakes/name_table.h"

namespace {

using platform::ControlDefinition;
using platform::ControlId;
namespace control = table::control;
using platform::ControlKind;
using platform::win32::toWide;

const platform::WindowDefinition& definition() { return app::mainWindowDefinition(); }

const platform::FontDefinition& fontOf(platform::FontId id) {
  return *std::ranges::find(definition().fonts, id, &platform::FontDefinition::id);
}

std::wstring classOf(HWND window) {
  wchar_t name[64] = {};
  GetClassNameW(window, name, 64);
  return name;
}

std::wstring windowText(HWND window) {
  wchar_t text[1024] = {};
  GetWindowTextW(window, text, 1024);
  return text;
}

RECT placeIn(HWND window, HWND parent) {
  RECT rect;
  GetWindowRect(window, &rect);
  MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

LONG_PTR styleOf(HWND window) { return GetWindowLongPtrW(window, GWL_STYLE); }

bool hasAll(LONG_PTR style, LONG_PTR bits) { return (style & bits) == bits; }

struct Rect {
  LONG x, y, width, height;
  bool operator==(const Rect&) const = default;
};

Rect asRect(RECT r) { return {r.left, r.top, r.right - r.left, r.bottom - r.top}; }

bool takesFocus(ControlKind kind) {
  return kind == ControlKind::edit || kind == ControlKind::digitsEdit ||
         kind == ControlKind::multiLineEdit || kind == ControlKind::pictureButton ||
         kind == ControlKind::table;
}

class RecordingEvents : public platform::WindowEvents {
 public:
  void timerExpired() override { ++ticks; }
  void controlClicked(ControlId id) override { clicks.push_back(id); }
  void columnClicked(int column) override { columns.push_back(column); }
  // As the program does: the focus goes back where it was.
  void activationChanged(bool active) override {
    activations.push_back(active);
    if (window == nullptr) return;
    if (!active) {
      savedFocus = window->focusedControl();
    } else if (savedFocus != ControlId::none) {
      window->setFocus(savedFocus);
    }
  }
  bool closeRequested() override {
    ++closeRequests;
    return allowClose;
  }

  int ticks = 0;
  std::vector<ControlId> clicks;
  std::vector<int> columns;
  std::vector<bool> activations;
  int closeRequests = 0;
  bool allowClose = false;
  platform::Window* window = nullptr;
  ControlId savedFocus = ControlId::none;
};

// A computed table of any size: no row is stored.
class ManyRows : public platform::TableContent {
 public:
  explicit ManyRows(int rows) : rows_(rows) {}
  [[nodiscard]] int rowCount() const override { return rows_; }
  [[nodiscard]] std::string cell(int row, int column) const override {
    return "M\xFCller \x80 " + std::to_string(row) + "/" + std::to_string(column);
  }
  int rows_;
};

using Names = testing_support::NameTable;

class Win32WindowTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { platform::win32::initCommonControls(); }

  platform::win32::Window window{definition()};
  HWND frame = window.handle();
  RecordingEvents events;
};

TEST_F(Win32WindowTest, frame_titleStylesAndClientAreaCentredInTheWorkArea) {
  ASSERT_NE(frame, nullptr);
  ASSERT_EQ(window.dpi(), 96);
  EXPECT_EQ(windowText(frame), L"Morvi-Telefonbuch V2.72");
  EXPECT_EQ(styleOf(frame) & ~WS_VISIBLE, WS_POPUP | WS_CLIPSIBLINGS | WS_CAPTION | WS_SYSMENU |
                                              WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX |
                                              DS_MODALFRAME | DS_CENTER | DS_3DLOOK);
  EXPECT_TRUE(hasAll(GetWindowLongPtrW(frame, GWL_EXSTYLE), WS_EX_CONTROLPARENT));
  EXPECT_EQ(GetMenu(frame), nullptr);
  RECT client;
  GetClientRect(frame, &client);
  EXPECT_EQ(asRect(client), (Rect{0, 0, 1011, 563}));

  RECT outer;
  GetWindowRect(frame, &outer);
  MONITORINFO monitor{};
  monitor.cbSize = sizeof(monitor);
  GetMonitorInfoW(MonitorFromWindow(frame, MONITOR_DEFAULTTOPRIMARY), &monitor);
  EXPECT_NEAR(outer.left + outer.right, monitor.rcWork.left + monitor.rcWork.right, 1);
  EXPECT_NEAR(outer.top + outer.bottom, monitor.rcWork.top + monitor.rcWork.bottom, 1);
}

TEST_F(Win32WindowTest, everyControlIsTheWin32ControlOfItsKindAtItsPlaceInItsFont) {
  for (const ControlDefinition& control : definition().controls) {
    SCOPED_TRACE(platform::toInt(control.id));
    HWND handle = window.control(control.id);
    ASSERT_NE(handle, nullptr);
    EXPECT_EQ(GetDlgCtrlID(handle), platform::toInt(control.id));
    LONG_PTR style = styleOf(handle);
    LONG_PTR exStyle = GetWindowLongPtrW(handle, GWL_EXSTYLE);
    std::wstring windowClass = classOf(handle);
    EXPECT_EQ((style & WS_VISIBLE) != 0, !control.hidden);
    EXPECT_EQ((style & WS_TABSTOP) != 0, takesFocus(control.kind));
    switch (control.kind) {
      case ControlKind::edit:
      case ControlKind::digitsEdit:
        EXPECT_EQ(lstrcmpiW(windowClass.c_str(), L"Edit"), 0);
        EXPECT_TRUE(hasAll(style, ES_AUTOHSCROLL));
        EXPECT_EQ((style & ES_NUMBER) != 0, control.kind == ControlKind::digitsEdit);
        EXPECT_EQ(style & ES_MULTILINE, 0);
        EXPECT_TRUE(hasAll(exStyle, WS_EX_CLIENTEDGE));
        break;
      case ControlKind::multiLineEdit:
        EXPECT_EQ(lstrcmpiW(windowClass.c_str(), L"Edit"), 0);
        EXPECT_TRUE(hasAll(style, ES_MULTILINE | ES_WANTRETURN | ES_AUTOVSCROLL | ES_AUTOHSCROLL |
                                      WS_VSCROLL | WS_HSCROLL));
        EXPECT_TRUE(hasAll(exStyle, WS_EX_CLIENTEDGE));
        break;
      case ControlKind::pictureButton:
        EXPECT_EQ(lstrcmpiW(windowClass.c_str(), L"Button"), 0);
        EXPECT_EQ(style & BS_TYPEMASK, BS_PUSHBUTTON);
        EXPECT_TRUE(hasAll(style, BS_ICON));
        EXPECT_EQ(window.text(control.id), "");
        EXPECT_EQ(windowText(handle), toWide(control.accessibleName));
        break;
      case ControlKind::button:  // the main window has none; the dialogs' are tested there
      case ControlKind::passwordEdit:
        break;
      case ControlKind::label: {
        EXPECT_EQ(lstrcmpiW(windowClass.c_str(), L"Static"), 0);
        LONG_PTR alignment = style & SS_TYPEMASK;
        switch (control.alignment) {
          case platform::Alignment::left:
            EXPECT_EQ(alignment, SS_LEFT);
            break;
          case platform::Alignment::right:
            EXPECT_EQ(alignment, SS_RIGHT);
            break;
          case platform::Alignment::centre:
            EXPECT_EQ(alignment, SS_CENTER);
            EXPECT_EQ(style & SS_CENTERIMAGE, 0);
            break;
          case platform::Alignment::centreBoth:
            EXPECT_EQ(alignment, SS_CENTER);
            EXPECT_TRUE(hasAll(style, SS_CENTERIMAGE));
            break;
        }
        EXPECT_EQ(window.text(control.id), control.text);
        break;
      }
      case ControlKind::picture:
        EXPECT_EQ(lstrcmpiW(windowClass.c_str(), L"Static"), 0);
        EXPECT_EQ(style & SS_TYPEMASK, SS_BITMAP);
        break;
      case ControlKind::table:
        EXPECT_EQ(windowClass, WC_LISTVIEWW);
        EXPECT_EQ(style & LVS_TYPEMASK, LVS_REPORT);
        EXPECT_TRUE(hasAll(style, LVS_SINGLESEL | LVS_SHOWSELALWAYS | LVS_OWNERDATA));
        EXPECT_EQ(window.text(control.id), "Listview3");
        break;
      case ControlKind::statusBar:
        EXPECT_EQ(windowClass, STATUSCLASSNAMEW);
        EXPECT_EQ(window.text(control.id), "SBar1");
        break;
      case ControlKind::progressBar:
        EXPECT_EQ(windowClass, PROGRESS_CLASSW);
        EXPECT_TRUE(hasAll(style, PBS_SMOOTH));
        break;
    }
    if (control.kind == ControlKind::progressBar) {
      EXPECT_EQ(GetParent(handle), window.control(control::statusBar));
      continue;
    }
    EXPECT_EQ(GetParent(handle), frame);
    if (control.kind != ControlKind::statusBar) {
      EXPECT_EQ(asRect(placeIn(handle, frame)),
                (Rect{control.x, control.y, control.width, control.height}));
    }
    if (control.kind == ControlKind::picture) continue;  // it shows no text
    LOGFONTW font{};
    ASSERT_NE(GetObjectW(reinterpret_cast<HFONT>(SendMessageW(handle, WM_GETFONT, 0, 0)),
                         sizeof(font), &font),
              0);
    const platform::FontDefinition& expected = fontOf(control.font);
    EXPECT_EQ(std::wstring(font.lfFaceName), toWide(expected.face));
    EXPECT_EQ(font.lfHeight, -MulDiv(expected.points, 96, 72));
    EXPECT_EQ(font.lfWeight, expected.bold ? FW_BOLD : FW_NORMAL);
    EXPECT_EQ(font.lfItalic != 0, expected.italic);
  }
}

TEST_F(Win32WindowTest, tabMovesThroughTheShownFieldsButtonsAndTableInCreationOrder) {
  window.show();
  std::vector<HWND> expected;
  for (const ControlDefinition& control : definition().controls) {
    if (takesFocus(control.kind) && !control.hidden) expected.push_back(window.control(control.id));
  }
  ASSERT_FALSE(expected.empty());
  std::vector<HWND> order{expected.front()};
  while (order.size() <= expected.size()) {
    HWND next = GetNextDlgTabItem(frame, order.back(), FALSE);
    if (next == expected.front()) break;
    order.push_back(next);
  }
  EXPECT_EQ(order, expected);

  // Through the window's own message handling, as a key press comes; the
  // multi-line notes field, which takes every key, is left as well.
  window.setEventHandler(&events);
  struct Press {
    ControlId from;
    bool shift;
    ControlId to;
  };
  for (Press press : {Press{control::nameEdit, false, control::firstNameEdit},
                      Press{control::notesEdit, false, control::applyButton},
                      Press{control::notesEdit, true, control::faxEdit}}) {
    SCOPED_TRACE(platform::toInt(press.from));
    BYTE keys[256] = {};
    keys[VK_SHIFT] = press.shift ? 0x80 : 0;
    SetKeyboardState(keys);
    window.setFocus(press.from);
    PostMessageW(window.control(press.from), WM_KEYDOWN, VK_TAB, 0);
    PostMessageW(window.control(press.from), WM_KEYUP, VK_TAB, 0);
    window.processPendingEvents();
    EXPECT_EQ(window.focusedControl(), press.to);
    EXPECT_EQ(window.text(press.from), "");
  }
  BYTE released[256] = {};
  SetKeyboardState(released);
}

TEST_F(Win32WindowTest, statusBar_fivePartsAlongTheBottomWithTheProgressBarInsideTheFirst) {
  HWND bar = window.control(control::statusBar);
  int edges[8] = {};
  ASSERT_EQ(SendMessageW(bar, SB_GETPARTS, 8, reinterpret_cast<LPARAM>(edges)), 5);
  EXPECT_EQ(std::vector<int>(edges, edges + 5), (std::vector<int>{259, 379, 469, 859, 2859}));

  HWND progress = window.control(control::progressBar);
  EXPECT_EQ(asRect(placeIn(progress, bar)), (Rect{46, 3, 210, 18}));
  PBRANGE range{};
  SendMessageW(progress, PBM_GETRANGE, FALSE, reinterpret_cast<LPARAM>(&range));
  EXPECT_EQ(range.iLow, 0);
  EXPECT_EQ(range.iHigh, 100);
  window.setProgress(47);
  EXPECT_EQ(SendMessageW(progress, PBM_GETPOS, 0, 0), 47);

  window.setText(4, "File: C:\\Adressen\\M\xFCller.vcf");
  wchar_t part[64] = {};
  SendMessageW(bar, SB_GETTEXTW, 3, reinterpret_cast<LPARAM>(part));
  EXPECT_EQ(std::wstring(part), L"File: C:\\Adressen\\M\u00fcller.vcf");

  // Maximised, only the status bar moves: to the new bottom edge.
  window.show();
  window.processPendingEvents();
  ShowWindow(frame, SW_MAXIMIZE);
  RECT client;
  GetClientRect(frame, &client);
  RECT place = placeIn(bar, frame);
  EXPECT_EQ(place.bottom, client.bottom);
  EXPECT_EQ(place.right - place.left, client.right);
  EXPECT_EQ(asRect(placeIn(window.control(control::nameEdit), frame)), (Rect{264, 45, 186, 21}));
  // There it shows itself, not the window's background.
  window.processPendingEvents();
  HDC screen = GetDC(frame);
  for (LONG x : {5L, client.right / 2, client.right - 40}) {
    EXPECT_NE(GetPixel(screen, x, (place.top + place.bottom) / 2), RGB(175, 217, 157)) << x;
  }
  ReleaseDC(frame, screen);
}

TEST_F(Win32WindowTest, table_virtualReportListOverAMillionRowsAskingTheContentForItsCells) {
  HWND table = window.control(control::recordTable);
  DWORD extended = static_cast<DWORD>(SendMessageW(table, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0));
  EXPECT_TRUE(hasAll(extended, LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES));
  EXPECT_EQ(SendMessageW(table, LVM_GETBKCOLOR, 0, 0), RGB(146, 231, 222));
  EXPECT_EQ(SendMessageW(table, LVM_GETTEXTBKCOLOR, 0, 0), RGB(146, 231, 222));

  std::vector<platform::TableColumn> columns{{"Name ; Vorname", 144}, {"Mobil", 144}, {"Nr.", 0}};
  window.setColumns(columns);
  EXPECT_EQ(window.columnWidth(1), 144);
  EXPECT_EQ(window.columnWidth(3), 0);
  EXPECT_EQ(window.columnWidth(4), 0);

  ManyRows rows(1'000'000);
  window.setContent(rows);
  ASSERT_EQ(SendMessageW(table, LVM_GETITEMCOUNT, 0, 0), 1'000'000);
  auto cell = [&](int index, int subItem) {
    wchar_t text[64] = {};
    LVITEMW item{};
    item.iSubItem = subItem;
    item.pszText = text;
    item.cchTextMax = 64;
    SendMessageW(table, LVM_GETITEMTEXTW, index, reinterpret_cast<LPARAM>(&item));
    return std::wstring(text);
  };
  struct Cell {
    int index, subItem;
    const wchar_t* text;
  };
  for (Cell expected :
       {Cell{0, 0, L"M\u00fcller \u20ac 1/1"}, Cell{999'998, 1, L"M\u00fcller \u20ac 999999/2"},
        Cell{999'999, 0, L"M\u00fcller \u20ac 1000000/1"},
        Cell{999'999, 2, L"M\u00fcller \u20ac 1000000/3"}}) {
    EXPECT_EQ(cell(expected.index, expected.subItem), expected.text) << expected.index;
  }

  window.selectRow(999'999);
  EXPECT_EQ(window.selectedRow(), 999'999);
  window.scrollToRow(999'999);
  EXPECT_GT(SendMessageW(table, LVM_GETTOPINDEX, 0, 0), 999'000);

  rows.rows_ = 1'000'001;
  window.rowAppended();
  EXPECT_EQ(SendMessageW(table, LVM_GETITEMCOUNT, 0, 0), 1'000'001);

  rows.rows_ = 3;
  window.reset();
  EXPECT_EQ(SendMessageW(table, LVM_GETITEMCOUNT, 0, 0), 3);
  EXPECT_EQ(window.selectedRow(), 0);
  window.selectRow(2);
  window.selectRow(0);
  EXPECT_EQ(window.selectedRow(), 0);

  // A left click on the second column's header, as the mouse makes it.
  window.setEventHandler(&events);
  HWND header = reinterpret_cast<HWND>(SendMessageW(table, LVM_GETHEADER, 0, 0));
  RECT second{};
  SendMessageW(header, HDM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&second));
  LPARAM at = MAKELPARAM((second.left + second.right) / 2, (second.top + second.bottom) / 2);
  SendMessageW(header, WM_LBUTTONDOWN, MK_LBUTTON, at);
  SendMessageW(header, WM_LBUTTONUP, 0, at);
  EXPECT_EQ(events.columns, std::vector<int>{2});
}

// Where letters lead is the record table's rule, tested with it; here they
// reach it from the keyboard, as the list view hands them on.
TEST_F(Win32WindowTest, table_lettersTypedIntoItGoToTheNextNameStartingWithThem) {
  std::vector<platform::TableColumn> columns{{"Name ; Vorname", 144}, {"Mobil", 144}};
  window.setColumns(columns);
  Names names({"Albers;Anna", "Schulz;Peter", "Zander;Zoe", "Sommer;Lea", "\xD6zdemir;Ay"});
  window.setContent(names);
  window.show();
  window.selectRow(1);
  HWND table = window.control(control::recordTable);
  SetFocus(table);
  auto type = [&](std::wstring_view letters) {
    for (wchar_t letter : letters) PostMessageW(table, WM_CHAR, letter, 1);
    window.processPendingEvents();
  };

  type(L"so");
  EXPECT_EQ(window.selectedRow(), 4);
  Sleep(1000);  // a pause ends the search
  type(L"s");
  EXPECT_EQ(window.selectedRow(), 2);
  Sleep(1000);
  type(L"\u00f6");
  EXPECT_EQ(window.selectedRow(), 5);
}

// Every byte from blank to 0xFF, the five that Windows-1252 leaves undefined
// included, comes back as it was set; the controls hold the characters
// those bytes stand for in code page 1252, whatever the ANSI code page. The
// test is run on a system set to another code page, which it checks.
TEST_F(Win32WindowTest, textsCrossAsWindows1252WhateverTheAnsiCodePage) {
  if (const char* codePage = std::getenv("MORVI_TEST_ANSI_CODE_PAGE")) {
    EXPECT_EQ(GetACP(), std::stoul(codePage));
  }
  std::string everyByte;
  for (int byte = 0x20; byte <= 0xFF; ++byte) everyByte += static_cast<char>(byte);
  window.setText(control::nameEdit, everyByte);
  EXPECT_EQ(window.text(control::nameEdit), everyByte);

  // (In the order "\xE4\x80\x8A" the bytes are the UTF-8 of a CJK letter, which
  // a text shows as that letter.)
  window.setText(control::firstNameEdit, "\x8A\xE4\x80");
  EXPECT_EQ(windowText(window.control(control::firstNameEdit)), L"\u0160\u00e4\u20ac");

  window.setText(control::notesEdit, "Zeile 1\r\nZeile \x9F");
  EXPECT_EQ(window.text(control::notesEdit), "Zeile 1\r\nZeile \x9F");
  window.setText(control::ageLabel, "(56J)");
  EXPECT_EQ(window.text(control::ageLabel), "(56J)");

  // A text far longer than anyone types is kept whole; typing is limited
  // in one-line fields, as in the Qt window.
  std::string longNote(100'000, 'x');
  window.setText(control::notesEdit, longNote);
  EXPECT_EQ(window.text(control::notesEdit).size(), longNote.size());
  window.setText(control::emailEdit, longNote);
  EXPECT_EQ(window.text(control::emailEdit).size(), longNote.size());
  EXPECT_EQ(SendMessageW(window.control(control::emailEdit), EM_GETLIMITTEXT, 0, 0),
            platform::typingLimit);
}

// Megabytes of notes would hold the window for many seconds: the field shows
// the beginning only, and gives the whole note back until the user edits it.
TEST_F(Win32WindowTest, aLongNoteShowsItsBeginningAndComesBackWhole) {
  std::string notes;
  while (notes.size() < 3'000'000) notes += "eine Zeile Notizen\r\n" + std::string(70'000, 'x');
  window.setText(control::notesEdit, notes);
  HWND edit = window.control(control::notesEdit);
  EXPECT_LE(GetWindowTextLengthW(edit), static_cast<int>(platform::maxShownLength));
  EXPECT_EQ(window.text(control::notesEdit), notes);

  SendMessageW(edit, EM_SETSEL, 0, 0);
  SendMessageW(edit, WM_CHAR, 'a', 0);
  std::string edited = window.text(control::notesEdit);
  EXPECT_LE(edited.size(), platform::maxShownLength + 1);
  EXPECT_TRUE(edited.starts_with("aeine Zeile Notizen\r\n")) << edited.substr(0, 30);

  window.setText(control::notesEdit, "kurz");
  EXPECT_EQ(window.text(control::notesEdit), "kurz");
}

TEST_F(Win32WindowTest, keysClicksTimerAndCloseReachTheProgram_escAndEnterDoNothing) {
  window.show();
  window.setEventHandler(&events);

  window.setFocus(control::notesEdit);
  PostMessageW(window.control(control::notesEdit), WM_KEYDOWN, VK_ESCAPE, 0);
  window.setFocus(control::nameEdit);
  PostMessageW(window.control(control::nameEdit), WM_KEYDOWN, VK_RETURN, 0);
  PostMessageW(window.control(control::nameEdit), WM_KEYDOWN, VK_ESCAPE, 0);
  window.processPendingEvents();
  EXPECT_TRUE(window.isAlive());
  EXPECT_EQ(events.closeRequests, 0);
  EXPECT_TRUE(events.clicks.empty());

  SendMessageW(window.control(control::applyButton), BM_CLICK, 0, 0);
  EXPECT_EQ(events.clicks, std::vector<ControlId>{control::applyButton});
  // A control's other notifications are no clicks; 1, as an accelerator
  // gives it, is one.
  HWND reset = window.control(control::resetFilterButton);
  const WPARAM resetId = static_cast<WPARAM>(platform::toInt(control::resetFilterButton));
  SendMessageW(frame, WM_COMMAND, MAKEWPARAM(resetId, EN_CHANGE), reinterpret_cast<LPARAM>(reset));
  EXPECT_EQ(events.clicks.size(), 1u);
  SendMessageW(frame, WM_COMMAND, MAKEWPARAM(resetId, 1), reinterpret_cast<LPARAM>(reset));
  EXPECT_EQ(events.clicks,
            (std::vector<ControlId>{control::applyButton, control::resetFilterButton}));

  window.startTimer(10);
  for (int wait = 0; wait < 200 && events.ticks == 0; ++wait) {
    Sleep(10);
    window.processPendingEvents();
  }
  EXPECT_GT(events.ticks, 0);

  // Away to another window and back: the caret is where it was.
  events.window = &window;
  window.setFocus(control::notesEdit);
  HWND other = CreateWindowExW(0, L"STATIC", L"other", WS_POPUP | WS_VISIBLE, 0, 0, 10, 10, nullptr,
                               nullptr, GetModuleHandleW(nullptr), nullptr);
  SetActiveWindow(other);
  EXPECT_EQ(events.activations, std::vector<bool>{false});
  SetActiveWindow(frame);
  EXPECT_EQ(events.activations, (std::vector<bool>{false, true}));
  EXPECT_EQ(window.focusedControl(), control::notesEdit);
  DestroyWindow(other);
  events.window = nullptr;

  // The program may keep the window open, and refuse the end of the
  // session, which it is asked about as a close; a session allowed to end
  // leaves the window to the system, which ends the process.
  SendMessageW(frame, WM_CLOSE, 0, 0);
  EXPECT_EQ(events.closeRequests, 1);
  EXPECT_TRUE(window.isAlive());
  EXPECT_EQ(SendMessageW(frame, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF), FALSE);
  EXPECT_EQ(events.closeRequests, 2);
  events.allowClose = true;
  EXPECT_EQ(SendMessageW(frame, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF), TRUE);
  EXPECT_EQ(events.closeRequests, 3);
  SendMessageW(frame, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF);
  EXPECT_TRUE(window.isAlive());
  SendMessageW(frame, WM_CLOSE, 0, 0);
  EXPECT_FALSE(window.isAlive());
  EXPECT_EQ(window.handle(), nullptr);
  window.setText(control::nameEdit, "gone");
  EXPECT_EQ(window.text(control::nameEdit), "");
  window.processPendingEvents();
}

}  // namespace
