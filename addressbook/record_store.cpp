#include "addressbook/record_store.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>

#include "addressbook/field_table.h"

namespace addressbook {

namespace {
constexpr std::size_t blockSize = 1 << 20;
}

void RecordStore::FreeCells::operator()(Cell* cells) const { std::free(cells); }

void RecordStore::reset(std::size_t capacity) {
  cells_.reset();
  texts_.clear();
  cards_.clear();
  changed_.clear();
  longValues_.clear();
  blocks_.clear();
  blockFree_ = nullptr;
  blockLeft_ = 0;
  capacity_ = capacity;
  std::size_t count = (capacity + 1) * 8;
  // calloc: a cell of zero bytes is an empty value, and untouched pages of a
  // large store stay unmapped.
  void* memory = std::calloc(count, sizeof(Cell));
  if (memory == nullptr) throw std::bad_alloc();
  cells_.reset(static_cast<Cell*>(memory));
}

void RecordStore::setField(std::size_t slot, int field, std::string_view value) {
  setFieldView(slot, field, copyIn(value));
  if (slot < changed_.size()) changed_[slot] = true;
}

void RecordStore::setCard(std::size_t slot, std::string_view card) {
  if (cards_.empty()) {
    cards_.resize(capacity_ + 1);
    changed_.resize(capacity_ + 1);
  }
  cards_[slot] = card;
  changed_[slot] = false;
}

void RecordStore::clearCard(std::size_t slot) {
  if (slot >= cards_.size()) return;
  cards_[slot] = {};
  changed_[slot] = false;
}

void RecordStore::setFieldView(std::size_t slot, int field, std::string_view value) {
  auto address = reinterpret_cast<std::uintptr_t>(value.data());
  if (value.size() >= longSize || (address & ~addressMask) != 0) {
    longValues_.push_back(std::make_unique<std::string_view>(value));
    address = reinterpret_cast<std::uintptr_t>(longValues_.back().get());
    cells_.get()[index(slot, field)] = (Cell{longSize} << addressBits) | address;
    return;
  }
  cells_.get()[index(slot, field)] = (Cell{value.size()} << addressBits) | address;
}

bool RecordStore::holdsRecord(std::size_t slot) const {
  return hasSlots() && slot >= 1 && slot <= capacity_ && !field(slot, field::name).empty();
}

std::string_view RecordStore::adoptText(std::string text) {
  texts_.push_back(std::make_unique<const std::string>(std::move(text)));
  return *texts_.back();
}

std::string_view RecordStore::copyIn(std::string_view value) {
  if (value.empty()) return {};
  if (value.size() > blockLeft_) {
    std::size_t size = std::max(value.size(), blockSize);
    blocks_.push_back(std::make_unique_for_overwrite<char[]>(size));
    blockFree_ = blocks_.back().get();
    blockLeft_ = size;
  }
  // The source may lie in a block of this store; blocks never move.
  std::memcpy(blockFree_, value.data(), value.size());
  std::string_view stored(blockFree_, value.size());
  blockFree_ += value.size();
  blockLeft_ -= value.size();
  return stored;
}

std::size_t capacityFor(std::size_t cards) {
  // 1.5 n = (3 n) / 2; a remainder of exactly one half goes to the even neighbour.
  std::size_t half = cards * 3;
  std::size_t rounded = half / 2;
  if (half % 2 == 1 && rounded % 2 == 1) ++rounded;
  return std::max<std::size_t>(999, rounded);
}

}  // namespace addressbook
