#include "platform/qt/window.h"

#include <gtest/gtest.h>

#include <QFontInfo>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>
#include <QTableView>
#include <QTest>
#include <QTextCursor>
#include <QTextDocument>

#include "app/main_window_definition.h"
#include "platform/qt/text_conversion.h"
#include "table/control_ids.h"
#include "tests/platform/qt/key_typing.h"
#include "tests/platform/qt/qt_test_support.h"

namespace {

using platform::ControlId;
namespace control = table::control;
using platform::ControlKind;
using testing_support::qs;
using testing_support::RecordingEvents;

const platform::ControlDefinition& definitionOf(ControlId id) {
  for (const auto& control : app::mainWindowDefinition().controls) {
    if (control.id == id) return control;
  }
  throw std::out_of_range("no such control");
}

const platform::FontDefinition& fontOf(platform::FontId id) {
  for (const auto& font : app::mainWindowDefinition().fonts) {
    if (font.id == id) return font;
  }
  throw std::out_of_range("no such font");
}

bool hasWidgetClass(const QWidget* widget, ControlKind kind) {
  switch (kind) {
    case ControlKind::edit:
    case ControlKind::digitsEdit:
    case ControlKind::passwordEdit:
      return qobject_cast<const QLineEdit*>(widget) != nullptr;
    case ControlKind::multiLineEdit:
      return qobject_cast<const QPlainTextEdit*>(widget) != nullptr;
    case ControlKind::pictureButton:
    case ControlKind::button:
      return qobject_cast<const QPushButton*>(widget) != nullptr;
    case ControlKind::label:
    case ControlKind::picture:
      return qobject_cast<const QLabel*>(widget) != nullptr;
    case ControlKind::table:
      return qobject_cast<const QTableView*>(widget) != nullptr;
    case ControlKind::statusBar:
      return qobject_cast<const QStatusBar*>(widget) != nullptr;
    case ControlKind::progressBar:
      return qobject_cast<const QProgressBar*>(widget) != nullptr;
  }
  return false;
}

// The family without the foundry that Qt adds when several supply it.
QString familyOf(const QFont& font) {
  QString family = QFontInfo(font).family();
  return family.left(family.indexOf(QStringLiteral(" ["))).trimmed();
}

class MainWindowTest : public ::testing::Test {
 protected:
  platform::qt::Window window{app::mainWindowDefinition()};
  QWidget& frame = *window.widget();

  QLineEdit& lineEdit(ControlId id) { return *qobject_cast<QLineEdit*>(window.control(id)); }
};

TEST_F(MainWindowTest, title_clientSizeAndIcon) {
  EXPECT_EQ(frame.windowTitle(), qs(u"Morvi-Telefonbuch V2.72"));
  EXPECT_EQ(frame.size(), QSize(1011, 563));
  EXPECT_FALSE(frame.windowIcon().isNull());
  EXPECT_TRUE(frame.isWindow());
}

TEST_F(MainWindowTest, everyControlIsBuiltFromTheTable) {
  ASSERT_EQ(app::mainWindowDefinition().controls.size(), 53u);
  for (const auto& definition : app::mainWindowDefinition().controls) {
    SCOPED_TRACE(platform::toInt(definition.id));
    QWidget* widget = window.control(definition.id);
    ASSERT_NE(widget, nullptr);
    EXPECT_TRUE(hasWidgetClass(widget, definition.kind));
    if (definition.kind != ControlKind::statusBar && definition.kind != ControlKind::progressBar) {
      EXPECT_EQ(widget->parentWidget(), &frame);
      EXPECT_EQ(widget->geometry(),
                QRect(definition.x, definition.y, definition.width, definition.height));
    }
    EXPECT_EQ(widget->isHidden(), definition.hidden);
    EXPECT_EQ(window.isVisible(definition.id), !definition.hidden);
    if (definition.kind == ControlKind::label) {
      EXPECT_EQ(window.text(definition.id), definition.text);
      EXPECT_EQ(widget->focusPolicy(), Qt::NoFocus);
    }
    if (definition.kind == ControlKind::pictureButton) {
      EXPECT_EQ(window.text(definition.id), "");
      auto* button = qobject_cast<QPushButton*>(widget);
      EXPECT_FALSE(button->icon().isNull());
      EXPECT_FALSE(button->accessibleName().isEmpty());
      EXPECT_FALSE(button->autoDefault());
      EXPECT_FALSE(button->isDefault());
      QSize expected = definition.scaled ? QSize(definition.width, definition.height)
                                         : QSize(definition.pictureSize, definition.pictureSize);
      EXPECT_EQ(button->iconSize(), expected);
    }
  }
}

// Spot checks of the table itself against the window's known layout.
TEST_F(MainWindowTest, knownPlacesKindsAndTexts) {
  struct Expected {
    ControlId id;
    QRect geometry;
  };
  const Expected places[] = {
      {control::nameEdit, {264, 45, 186, 21}},
      {control::notesEdit, {805, 35, 196, 173}},
      {control::duplicateButton, {150, 179, 32, 32}},
      {control::mailButton, {420, 144, 38, 37}},
      {control::hangUpMobileButton, {758, 125, 38, 36}},
      {control::recordTable, {8, 224, 999, 312}},
      {control::rowLabel, {456, 188, 54, 20}},
      {control::telephonePicture, {52, 52, 100, 110}},
      {control::resetFilterButton, {376, 184, 24, 24}},
  };
  for (const Expected& place : places) {
    EXPECT_EQ(window.control(place.id)->geometry(), place.geometry) << platform::toInt(place.id);
  }
  EXPECT_EQ(window.text(control::titleLabel), "Telefonverzeichnis");
  EXPECT_EQ(window.text(control::rowLabel), "0000");
  EXPECT_EQ(window.text(control::ageLabel), "J");
  EXPECT_EQ(window.text(control::nameCaption), "Name: ");
  EXPECT_EQ(window.text(control::recordTable), "Listview3");
  EXPECT_EQ(window.control(control::applyButton)->accessibleName(), qs(u"Übernehmen"));
  EXPECT_EQ(window.control(control::resetFilterButton)->accessibleName(),
            qs(u"Filter zurücksetzen"));
  EXPECT_EQ(window.control(control::dialHomeButton)->accessibleName(), qs(u"Wählen privat"));

  auto alignment = [&](ControlId id) {
    return qobject_cast<QLabel*>(window.control(id))->alignment();
  };
  EXPECT_EQ(alignment(control::nameCaption), Qt::AlignRight | Qt::AlignTop);
  EXPECT_EQ(alignment(control::notesCaption), Qt::AlignLeft | Qt::AlignTop);
  EXPECT_EQ(alignment(control::faxCaption), Qt::AlignHCenter | Qt::AlignTop);
  EXPECT_EQ(alignment(control::rowLabel), Qt::AlignCenter);

  for (ControlId id : {control::dayEdit, control::monthEdit, control::yearEdit, control::hourEdit,
                       control::minuteEdit}) {
    EXPECT_EQ(definitionOf(id).kind, ControlKind::digitsEdit);
  }
}

TEST_F(MainWindowTest, fontsResolveToInstalledFacesWithTheirSizesAndStyles) {
  struct Expected {
    ControlId id;
    int points;
    bool bold;
    bool italic;
  };
  const Expected fonts[] = {
      {control::nameEdit, 10, true, false},      {control::filterEdit, 10, true, false},
      {control::dayEdit, 10, true, false},       {control::emailEdit, 8, false, false},
      {control::notesEdit, 10, false, false},    {control::nameCaption, 10, false, false},
      {control::ageLabel, 10, false, false},     {control::titleLabel, 20, true, true},
      {control::daySeparator, 18, false, false}, {control::rowLabel, 12, true, false},
      {control::openButton, 8, false, false},    {control::recordTable, 8, false, false},
  };
  for (const Expected& expected : fonts) {
    SCOPED_TRACE(platform::toInt(expected.id));
    const platform::FontDefinition& definition = fontOf(definitionOf(expected.id).font);
    QFontInfo info(window.control(expected.id)->font());
    QStringList candidates{platform::qt::toQString(definition.face)};
    for (auto substitute : definition.substitutes)
      candidates << platform::qt::toQString(substitute);
    EXPECT_TRUE(candidates.contains(familyOf(window.control(expected.id)->font())))
        << info.family().toStdString();
    EXPECT_EQ(info.pointSize(), expected.points);
    EXPECT_EQ(info.bold(), expected.bold);
    EXPECT_EQ(info.italic(), expected.italic);
  }
}

TEST_F(MainWindowTest, colours_greenWindowGreyRowLabelTurquoiseTable) {
  QImage image = frame.grab().toImage();
  auto pixel = [&](int x, int y) { return QColor(image.pixel(x, y)); };
  EXPECT_EQ(pixel(700, 10), QColor(175, 217, 157));   // empty window area
  EXPECT_EQ(pixel(219, 60), QColor(175, 217, 157));   // inside the "Name: " label
  EXPECT_EQ(pixel(458, 190), QColor(229, 229, 229));  // corner of the row label
  EXPECT_EQ(pixel(500, 500), QColor(146, 231, 222));  // empty table
  EXPECT_NE(pixel(5, 560), QColor(175, 217, 157));    // the status bar keeps its own colour
}

TEST_F(MainWindowTest, tabVisitsTheFocusableControlsInCreationOrder) {
  const std::vector<int> expected{1102, 1103, 1105, 1106, 1107, 1109, 1110, 1217, 1218, 1219, 1220,
                                  1111, 1112, 1113, 1114, 1115, 1108, 1242, 1041, 1043, 1238, 1274,
                                  1356, 1300, 1303, 1301, 1304, 1302, 1350, 1040, 1363, 1364};
  std::vector<int> chain;
  QWidget* first = window.control(control::nameEdit);
  QWidget* widget = first;
  do {
    if (widget->focusPolicy() & Qt::TabFocus) chain.push_back(widget->objectName().toInt());
    widget = widget->nextInFocusChain();
  } while (widget != first && chain.size() < 100);
  // The chain also holds the inner parts of composite widgets (scroll bars
  // take no focus); only controls count.
  std::erase_if(chain, [](int id) { return id == 0; });
  EXPECT_EQ(chain, expected);
}

TEST_F(MainWindowTest, tabKeyMovesThroughShownControlsAndSkipsHiddenOnes) {
  window.show();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&frame));
  window.setFocus(control::filterEdit);
  std::vector<ControlId> visited;
  for (int i = 0; i < 8; ++i) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    visited.push_back(window.focusedControl());
  }
  const std::vector<ControlId> expected{
      control::openButton, control::saveAsButton, control::listButton, control::settingsButton,
      control::mailButton, control::recordTable,  control::saveButton, control::resetFilterButton};
  EXPECT_EQ(visited, expected);
}

TEST_F(MainWindowTest, tooltipsKeepTheirTextAndLineBreaks) {
  window.addTooltip(control::openButton,
                    "\xD6"
                    "ffnet eine Vcard-Datei");
  window.addTooltip(control::filterEdit,
                    "nur Tabellen-Eintr\xE4ge\r\nanzeigen, die diesen\r\nText enthalten");
  window.addTooltip(control::applyButton,
                    "\xDC"
                    "bernehmen der editierten \r\nWerte in die Tabelle");
  window.addTooltip(ControlId::none, "nowhere");
  EXPECT_EQ(window.control(control::openButton)->toolTip(), qs(u"Öffnet eine Vcard-Datei"));
  EXPECT_EQ(window.control(control::filterEdit)->toolTip(),
            qs(u"nur Tabellen-Einträge\nanzeigen, die diesen\nText enthalten"));
  EXPECT_EQ(window.control(control::applyButton)->toolTip(),
            qs(u"Übernehmen der editierten \nWerte in die Tabelle"));
  EXPECT_TRUE(window.control(control::settingsButton)->toolTip().isEmpty());
}

TEST_F(MainWindowTest, escapeAndEnterNeitherCloseNorChangeNorCommand) {
  RecordingEvents events;
  window.setEventHandler(&events);
  window.show();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&frame));
  window.setText(control::nameEdit, "Meier");
  window.setText(control::notesEdit, "a\r\nb");
  window.selectRow(0);
  for (const auto& definition : app::mainWindowDefinition().controls) {
    QWidget* widget = window.control(definition.id);
    if (!(widget->focusPolicy() & Qt::TabFocus) || widget->isHidden()) continue;
    SCOPED_TRACE(platform::toInt(definition.id));
    window.setFocus(definition.id);
    QTest::keyClick(widget, Qt::Key_Escape);
    if (definition.kind != ControlKind::multiLineEdit) {
      QTest::keyClick(widget, Qt::Key_Return);
      QTest::keyClick(widget, Qt::Key_Enter);
    }
    EXPECT_TRUE(frame.isVisible());
    EXPECT_TRUE(window.isAlive());
  }
  EXPECT_TRUE(events.clicks.empty());
  EXPECT_EQ(events.closeRequests, 0);
  EXPECT_EQ(window.text(control::nameEdit), "Meier");
  EXPECT_EQ(window.text(control::notesEdit), "a\r\nb");

  // The harness does see a press: Space clicks a button.
  window.setFocus(control::listButton);
  QTest::keyClick(window.control(control::listButton), Qt::Key_Space);
  ASSERT_EQ(events.clicks.size(), 1u);
  EXPECT_EQ(events.clicks[0], control::listButton);
}

TEST_F(MainWindowTest, digitsFieldsDropEverythingButDigitsFromTheKeyboard) {
  QLineEdit& day = lineEdit(control::dayEdit);
  testing_support::typeKeys(&day, qs(u"1a.2 -3ä€"));
  EXPECT_EQ(window.text(control::dayEdit), "123");
  QTest::keyClick(&day, Qt::Key_Backspace);
  EXPECT_EQ(window.text(control::dayEdit), "12");
  QTest::keyClick(&day, Qt::Key_A, Qt::ControlModifier);  // select all still works
  QTest::keyClicks(&day, QStringLiteral("7"));
  EXPECT_EQ(window.text(control::dayEdit), "7");

  // The program may put anything there, and the user can still edit it.
  window.setText(control::hourEdit, "9a");
  QTest::keyClick(&lineEdit(control::hourEdit), Qt::Key_Backspace);
  EXPECT_EQ(window.text(control::hourEdit), "9");

  testing_support::typeKeys(&lineEdit(control::nameEdit), qs(u"Müller 2"));
  EXPECT_EQ(window.text(control::nameEdit), "M\xFCller 2");
}

// Long texts are compared by size and a check of equality, so that a
// failure does not print tens of thousands of letters.
TEST_F(MainWindowTest, oneLineFieldsKeepLongProgramTextsAndLimitOnlyTyping) {
  QLineEdit& email = lineEdit(control::emailEdit);
  const std::string longText = std::string(40'000, 'a') + "@example.org";
  auto shown = [&] { return window.text(control::emailEdit); };
  window.setText(control::emailEdit, longText);
  EXPECT_EQ(shown().size(), longText.size());
  EXPECT_TRUE(shown() == longText);
  email.end(false);
  QTest::keyClicks(&email, QStringLiteral("x"));  // typing cannot add to it
  EXPECT_TRUE(shown() == longText);
  QTest::keyClick(&email, Qt::Key_Backspace);  // but can shorten it
  EXPECT_TRUE(shown() == longText.substr(0, longText.size() - 1));

  // After a short text, typing stops at 32,767 characters again.
  window.setText(control::emailEdit, "");
  window.setText(control::emailEdit, std::string(32'766, 'b'));
  email.end(false);
  QTest::keyClicks(&email, QStringLiteral("cd"));
  EXPECT_EQ(shown().size(), 32'767U);
  EXPECT_EQ(shown().substr(32'760), "bbbbbbc");
}

TEST_F(MainWindowTest, notesKeepCrLfAndEveryByteOnARoundTrip) {
  const std::string notes =
      "Zeile 1\r\n\r\nZeile\xA0"
      "3 \x80\x9F\r\n";
  window.setText(control::notesEdit, notes);
  EXPECT_EQ(window.text(control::notesEdit), notes);

  auto* edit = qobject_cast<QPlainTextEdit*>(window.control(control::notesEdit));
  EXPECT_EQ(edit->blockCount(), 4);
  EXPECT_EQ(edit->lineWrapMode(), QPlainTextEdit::NoWrap);
  EXPECT_EQ(edit->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
  EXPECT_EQ(edit->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);

  window.setText(control::notesEdit, "");
  QTest::keyClicks(edit, QStringLiteral("a"));
  QTest::keyClick(edit, Qt::Key_Return);
  QTest::keyClicks(edit, QStringLiteral("b"));
  EXPECT_EQ(window.text(control::notesEdit), "a\r\nb");
}

// Megabytes of notes would take many seconds of text layout: the field shows
// the beginning only, and gives the whole note back until the user edits it.
TEST_F(MainWindowTest, aLongNoteShowsItsBeginningAndComesBackWhole) {
  std::string notes;
  while (notes.size() < 3'000'000) notes += "eine Zeile Notizen\r\n" + std::string(70'000, 'x');
  window.setText(control::notesEdit, notes);
  auto* edit = qobject_cast<QPlainTextEdit*>(window.control(control::notesEdit));
  EXPECT_LT(edit->document()->characterCount(), 100'000);
  EXPECT_EQ(window.text(control::notesEdit), notes);

  edit->moveCursor(QTextCursor::Start);
  QTest::keyClicks(edit, QStringLiteral("a"));
  std::string edited = window.text(control::notesEdit);
  EXPECT_LT(edited.size(), 100'000u);
  EXPECT_TRUE(edited.starts_with("aeine Zeile Notizen\r\n")) << edited.substr(0, 30);

  window.setText(control::notesEdit, "kurz");
  EXPECT_EQ(window.text(control::notesEdit), "kurz");
}

TEST_F(MainWindowTest, theAgeLabelHasRoomForThreeDigits) {
  window.setText(control::ageLabel, "(126J)");
  QWidget* label = window.control(control::ageLabel);
  EXPECT_LE(label->fontMetrics().horizontalAdvance(qs(u"(126J)")), label->width());
  QRect room = label->geometry();
  for (ControlId neighbour : {control::yearEdit, control::timeCaption})
    EXPECT_FALSE(room.intersects(window.control(neighbour)->geometry()));
}

TEST_F(MainWindowTest, tabLeavesTheNotesField) {
  window.show();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&frame));
  window.setFocus(control::notesEdit);
  QTest::keyClick(window.control(control::notesEdit), Qt::Key_Tab);
  EXPECT_EQ(window.focusedControl(), control::applyButton);
  EXPECT_EQ(window.text(control::notesEdit), "");
}

TEST_F(MainWindowTest, textsCrossTheBoundaryAsWindows1252WithTheOtherLettersInUtf8) {
  window.setText(control::nameEdit, "M\xFCller \x80 Mat\xC4\x9Bj");
  EXPECT_EQ(lineEdit(control::nameEdit).text(), qs(u"Müller € Matěj"));
  lineEdit(control::firstNameEdit).setText(qs(u"Jürgen Ω"));
  EXPECT_EQ(window.text(control::firstNameEdit), "J\xFCrgen \xCE\xA9");
  window.setText(control::ageLabel, "(56J)");
  EXPECT_EQ(window.text(control::ageLabel), "(56J)");
}

TEST_F(MainWindowTest, statusBarHasFivePartsAndTheProgressBarInPartOne) {
  platform::qt::StatusBar* bar = window.statusBar();
  ASSERT_NE(bar, nullptr);
  EXPECT_EQ(bar->geometry().bottom(), 562);
  EXPECT_EQ(bar->x(), 0);
  EXPECT_EQ(bar->width(), 1011);
  EXPECT_GE(bar->height(), 21);
  EXPECT_LE(bar->height(), 30);

  const int lefts[] = {0, 260, 380, 470, 860};
  const int widths[] = {260, 120, 90, 390, 2000};
  for (int part = 1; part <= 5; ++part) {
    ASSERT_NE(bar->part(part), nullptr);
    EXPECT_EQ(bar->part(part)->x(), lefts[part - 1]);
    EXPECT_EQ(bar->part(part)->width(), widths[part - 1]);
  }
  EXPECT_EQ(bar->part(6), nullptr);
  EXPECT_EQ(bar->part(1)->text(), qs(u"SBar1"));

  QProgressBar* progress = bar->progressBar();
  EXPECT_EQ(window.control(control::progressBar), progress);
  EXPECT_EQ(progress->parentWidget(), bar);
  EXPECT_EQ(progress->geometry(), QRect(46, 3, 210, 18));
  EXPECT_EQ(progress->minimum(), 0);
  EXPECT_EQ(progress->maximum(), 100);
  EXPECT_FALSE(progress->isTextVisible());

  window.setText(2, "Datens\xE4tze: 5");
  window.setText(4, "File: /tmp/myadr.vcf");
  window.setText(9, "nowhere");
  EXPECT_EQ(bar->part(2)->text(), qs(u"Datensätze: 5"));
  EXPECT_EQ(bar->part(4)->text(), qs(u"File: /tmp/myadr.vcf"));
  window.setProgress(42);
  EXPECT_EQ(progress->value(), 42);
  window.setProgress(150);
  EXPECT_EQ(progress->value(), 100);
}

TEST_F(MainWindowTest, resizingMovesOnlyTheStatusBar) {
  window.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&frame));
  std::vector<QRect> before;
  for (const auto& definition : app::mainWindowDefinition().controls) {
    before.push_back(window.control(definition.id)->geometry());
  }
  int barHeight = window.statusBar()->height();
  frame.resize(1300, 800);
  QTRY_COMPARE(frame.size(), QSize(1300, 800));
  std::size_t i = 0;
  for (const auto& definition : app::mainWindowDefinition().controls) {
    QRect now = window.control(definition.id)->geometry();
    if (definition.kind == ControlKind::statusBar) {
      EXPECT_EQ(now, QRect(0, 800 - barHeight, 1300, barHeight));
    } else {
      EXPECT_EQ(now, before[i]) << platform::toInt(definition.id);
    }
    ++i;
  }
}

TEST_F(MainWindowTest, visibilityAndFocusById) {
  window.setVisible(control::dialWorkButton, true);
  EXPECT_TRUE(window.isVisible(control::dialWorkButton));
  window.setVisible(control::dialWorkButton, false);
  EXPECT_FALSE(window.isVisible(control::dialWorkButton));
  EXPECT_FALSE(window.isVisible(ControlId::none));

  window.show();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&frame));
  window.setFocus(control::emailEdit);
  EXPECT_EQ(window.focusedControl(), control::emailEdit);
  window.setFocus(control::recordTable);
  EXPECT_EQ(window.focusedControl(), control::recordTable);
}

TEST_F(MainWindowTest, timerReachesTheHandlerOnlyOnceOneIsSet) {
  window.startTimer(20);
  QTest::qWait(60);
  RecordingEvents events;
  window.setEventHandler(&events);
  QTRY_VERIFY(events.timerExpiries >= 2);
  window.setEventHandler(nullptr);
}

TEST_F(MainWindowTest, buttonClicksReachTheHandler) {
  RecordingEvents events;
  window.setEventHandler(&events);
  QTest::mouseClick(window.control(control::applyButton), Qt::LeftButton);
  window.setVisible(control::hangUpMobileButton, true);
  qobject_cast<QPushButton*>(window.control(control::hangUpMobileButton))->click();
  const std::vector<ControlId> expected{control::applyButton, control::hangUpMobileButton};
  EXPECT_EQ(events.clicks, expected);
  window.setEventHandler(nullptr);
}

TEST_F(MainWindowTest, closeAsksTheHandlerAndThenEveryCallIsHarmless) {
  RecordingEvents events;
  window.setEventHandler(&events);
  window.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&frame));

  events.allowClose = false;
  EXPECT_FALSE(frame.close());
  EXPECT_TRUE(window.isAlive());
  EXPECT_TRUE(frame.isVisible());
  // The end of the session is asked about as a close, where the session
  // manager lets the program ask the user; without that leave it is not
  // refused, and the window stays for the session to end.
  EXPECT_FALSE(window.sessionMayEnd(true));
  EXPECT_TRUE(window.sessionMayEnd(false));
  EXPECT_EQ(events.closeRequests, 2);
  EXPECT_TRUE(window.isAlive());

  events.allowClose = true;
  EXPECT_TRUE(frame.close());
  EXPECT_EQ(events.closeRequests, 3);
  EXPECT_FALSE(window.isAlive());

  window.setText(control::nameEdit, "x");
  EXPECT_EQ(window.text(control::nameEdit), "");
  EXPECT_EQ(window.focusedControl(), ControlId::none);
  EXPECT_EQ(window.selectedRow(), 0);
  EXPECT_EQ(window.columnWidth(1), 0);
  window.setText(1, "x");
  window.setProgress(5);
  window.addTooltip(control::openButton, "x");
  window.selectRow(1);
  window.reset();
  window.processPendingEvents();
  window.show();
  EXPECT_FALSE(frame.isVisible());
}

TEST_F(MainWindowTest, closingWithoutHandlerJustCloses) {
  window.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&frame));
  EXPECT_TRUE(frame.close());
  EXPECT_FALSE(window.isAlive());
}

TEST_F(MainWindowTest, activationChangesAreReported) {
  RecordingEvents events;
  window.setEventHandler(&events);
  window.show();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&frame));
  QWidget other;
  other.show();
  other.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
  frame.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&frame));
  ASSERT_GE(events.activations.size(), 2u);
  EXPECT_EQ(events.activations[events.activations.size() - 2], false);
  EXPECT_EQ(events.activations.back(), true);
  window.setEventHandler(nullptr);
}

}  // namespace
