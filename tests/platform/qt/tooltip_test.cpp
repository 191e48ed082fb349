#include <gtest/gtest.h>

#include <QFontMetrics>
#include <QHelpEvent>
#include <QPushButton>
#include <QTest>
#include <QToolTip>

#include "app/main_window_definition.h"
#include "platform/qt/tooltip_controller.h"
#include "platform/qt/window.h"
#include "table/control_ids.h"
#include "tests/platform/qt/qt_test_support.h"

namespace {

using platform::ControlId;
namespace control = table::control;
using platform::qt::TooltipController;
using platform::qt::wrapTooltipText;
using testing_support::qs;

TEST(TooltipWrap, keepsShortLinesAndBreaksLongOnesBetweenWords) {
  QFontMetrics metrics(QToolTip::font());
  EXPECT_EQ(wrapTooltipText(qs(u"Liste der Einträge \nerzeugen"), metrics, 500),
            qs(u"Liste der Einträge \nerzeugen"));

  QString sentence;
  for (int i = 0; i < 40; ++i) sentence += QStringLiteral("Datensatz ");
  QString wrapped = wrapTooltipText(sentence.trimmed(), metrics, 200);
  const QStringList lines = wrapped.split(QLatin1Char('\n'));
  EXPECT_GT(lines.size(), 3);
  for (const QString& line : lines) {
    EXPECT_LE(metrics.horizontalAdvance(line), 200) << line.toStdString();
    EXPECT_TRUE(line.startsWith(QStringLiteral("Datensatz"))) << line.toStdString();
  }
  // Only the breaking blanks are gone.
  EXPECT_EQ(wrapped.split(QLatin1Char('\n')).join(QLatin1Char(' ')), sentence.trimmed());
}

TEST(TooltipWrap, breaksInsideAWordThatAloneIsTooWide) {
  QFontMetrics metrics(QToolTip::font());
  QString word(300, QLatin1Char('x'));
  QString wrapped = wrapTooltipText(word, metrics, 100);
  EXPECT_EQ(wrapped.count(QLatin1Char('x')), 300);
  for (const QString& line : wrapped.split(QLatin1Char('\n'))) {
    EXPECT_LE(metrics.horizontalAdvance(line), 100);
    EXPECT_FALSE(line.isEmpty());
  }
}

class TooltipTimingTest : public ::testing::Test {
 protected:
  void SetUp() override {
    window.addTooltip(control::openButton,
                      "\xD6"
                      "ffnet eine Vcard-Datei");
    window.addTooltip(control::saveButton, "speichern auf dem Datentr\xE4ger");
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.widget()));
  }
  void TearDown() override { QToolTip::hideText(); }

  static void send(QWidget* widget, QEvent::Type type) {
    QEvent event(type);
    QApplication::sendEvent(widget, &event);
  }

  platform::qt::Window window{app::mainWindowDefinition()};
  QWidget* open = window.control(control::openButton);
  QWidget* save = window.control(control::saveButton);
  TooltipController& tooltips = window.tooltips();
};

TEST_F(TooltipTimingTest, firstTipAfterOneSecondNextOneAfter200Ms) {
  send(open, QEvent::Enter);
  EXPECT_EQ(tooltips.pendingDelay(), 1000);
  QTest::qWait(700);
  EXPECT_FALSE(QToolTip::isVisible());
  QTRY_VERIFY_WITH_TIMEOUT(QToolTip::isVisible(), 1000);
  EXPECT_EQ(QToolTip::text(), qs(u"Öffnet eine Vcard-Datei"));

  send(open, QEvent::Leave);
  send(save, QEvent::Enter);
  EXPECT_EQ(tooltips.pendingDelay(), 200);
  QTRY_COMPARE_WITH_TIMEOUT(QToolTip::text(), qs(u"speichern auf dem Datenträger"), 600);
}

TEST_F(TooltipTimingTest, leavingBeforeTheDelayShowsNothing) {
  send(open, QEvent::Enter);
  send(open, QEvent::Leave);
  EXPECT_EQ(tooltips.pendingDelay(), -1);
  QTest::qWait(1200);
  EXPECT_FALSE(QToolTip::isVisible());
}

TEST_F(TooltipTimingTest, qtsOwnTooltipEventIsTakenOver) {
  QHelpEvent help(QEvent::ToolTip, QPoint(5, 5), open->mapToGlobal(QPoint(5, 5)));
  QApplication::sendEvent(open, &help);
  EXPECT_FALSE(QToolTip::isVisible());
  EXPECT_EQ(open->toolTipDuration(), 9000);
}

}  // namespace
