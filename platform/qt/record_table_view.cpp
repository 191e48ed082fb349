#include "platform/qt/record_table_view.h"

#include <QHeaderView>
#include <QMouseEvent>

namespace platform::qt {

RecordTableView::RecordTableView(QColor background, QWidget* parent) : QTableView(parent) {
  setSelectionMode(QAbstractItemView::SingleSelection);
  setSelectionBehavior(QAbstractItemView::SelectRows);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setTabKeyNavigation(false);
  setShowGrid(true);
  setWordWrap(false);
  setSortingEnabled(false);
  setFocusPolicy(Qt::StrongFocus);

  QPalette colours = palette();
  colours.setColor(QPalette::Base, background);
  for (QPalette::ColorRole role : {QPalette::Highlight, QPalette::HighlightedText}) {
    colours.setColor(QPalette::Inactive, role, colours.color(QPalette::Active, role));
  }
  setPalette(colours);

  QHeaderView* rows = verticalHeader();
  rows->hide();
  rows->setMinimumSectionSize(0);
  rows->setSectionResizeMode(QHeaderView::Fixed);
  fitRowHeight();

  QHeaderView* columns = horizontalHeader();
  columns->setMinimumSectionSize(0);
  columns->setSectionResizeMode(QHeaderView::Interactive);
  columns->setStretchLastSection(false);
  columns->setHighlightSections(false);
  columns->setSectionsClickable(true);
  columns->setSortIndicatorShown(false);
  columns->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
}

void RecordTableView::fitRowHeight() {
  verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
}

void RecordTableView::changeEvent(QEvent* event) {
  if (event->type() == QEvent::FontChange) fitRowHeight();
  QTableView::changeEvent(event);
}

void RecordTableView::mousePressEvent(QMouseEvent* event) {
  if (!indexAt(event->position().toPoint()).isValid()) {
    setFocus(Qt::MouseFocusReason);
    clearSelection();
    return;
  }
  QTableView::mousePressEvent(event);
}

}  // namespace platform::qt
