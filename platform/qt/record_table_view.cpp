#include "platform/qt/record_table_view.h"

#include <QApplication>
#include <QHeaderView>
#include <QMouseEvent>
#include <algorithm>

namespace platform::qt {

RecordTableView::RecordTableView(RecordTableModel& model, QColor background, QWidget* parent)
    : QTableView(parent), rows_(model) {
  setModel(&model);
  model.setParent(this);
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

// Letters typed within the keyboard interval add to the search, as in every
// Qt view; a pause or an empty search starts a new one.
void RecordTableView::keyboardSearch(const QString& search) {
  bool goingOn = !search.isEmpty() && sinceTyped_.isValid() &&
                 !sinceTyped_.hasExpired(QApplication::keyboardInputInterval());
  sinceTyped_.start();
  typed_ = goingOn ? typed_ + search : search;
  QModelIndex current = currentIndex();
  int row = rows_.typeAheadRow(current.isValid() ? current.row() + 1 : 0, typed_);
  if (row > 0) setCurrentIndex(rows_.index(row - 1, std::max(current.column(), 0)));
}

}  // namespace platform::qt
