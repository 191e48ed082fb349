#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace addressbook {

// The record slots of the address book: slot 0 is scratch, slots 1 to
// capacity hold records. Every slot has the eight fields of the field table;
// a slot holds a record exactly when its name field is not empty.
//
// Values are Windows-1252 bytes. They live either in the text of the file the
// store was loaded from (adopted by the store, so loading copies nothing that
// it need not change) or in blocks owned by the store. A view returned by
// field() stays valid until the next reset().
class RecordStore {
 public:
  RecordStore() = default;
  RecordStore(const RecordStore&) = delete;
  RecordStore& operator=(const RecordStore&) = delete;
  RecordStore(RecordStore&&) noexcept = default;
  RecordStore& operator=(RecordStore&&) noexcept = default;
  ~RecordStore() = default;

  // Empties every cell and sets the capacity (slots 0 to capacity exist).
  void reset(std::size_t capacity);
  [[nodiscard]] std::size_t capacity() const { return capacity_; }

  // Whether reset() has made slots (slot 0 to capacity) at all.
  [[nodiscard]] bool hasSlots() const { return cells_ != nullptr; }

  // slot 0 to capacity of a store that has slots, field 1 to 8.
  [[nodiscard]] std::string_view field(std::size_t slot, int field) const {
    Cell cell = cells_.get()[index(slot, field)];
    auto size = static_cast<std::size_t>(cell >> addressBits);
    // The cell holds the address it was given (see Cell below).
    // NOLINTNEXTLINE(performance-no-int-to-ptr)
    const char* data = reinterpret_cast<const char*>(cell & addressMask);
    if (size != longSize) return {data, size};
    return *reinterpret_cast<const std::string_view*>(data);
  }
  // Stores a copy of value. The slot counts as changed since its card was
  // read.
  void setField(std::size_t slot, int field, std::string_view value);
  [[nodiscard]] bool holdsRecord(std::size_t slot) const;

  // The text of the card that slot was read from (from its BEGIN line up to
  // the next card), kept when the card holds more than the program's own
  // lines, so that it can be written back as it came; empty for other
  // slots and for records made in the program.
  [[nodiscard]] std::string_view card(std::size_t slot) const {
    return slot < cards_.size() ? cards_[slot] : std::string_view();
  }
  // Keeps a card's text (a part of the adopted text) for slot, which counts
  // as unchanged from then on.
  void setCard(std::size_t slot, std::string_view card);
  // The slot holds a record made in the program from now on.
  void clearCard(std::size_t slot);
  // Whether a field of slot was set since its card was kept.
  [[nodiscard]] bool changedSinceRead(std::size_t slot) const {
    return slot < changed_.size() && changed_[slot];
  }

  // Loading: keeps text alive for the store's lifetime and lets fields refer
  // to parts of it without copying.
  [[nodiscard]] std::string_view adoptText(std::string text);
  // Stores a view of a part of the adopted text (or of the store's own blocks).
  void setFieldView(std::size_t slot, int field, std::string_view value);

 private:
  // A cell is one 64-bit word: the value's address in the low 48 bits (all
  // that user-space addresses use) and its size in the high 16. A value that
  // does not fit (longer than 65,534 bytes, or at an address beyond 48 bits)
  // is described by a string_view of its own that the cell points to.
  using Cell = std::uint64_t;
  static constexpr int addressBits = 48;
  static constexpr Cell addressMask = (Cell{1} << addressBits) - 1;
  static constexpr std::size_t longSize = 0xFFFF;
  struct FreeCells {
    void operator()(Cell* cells) const;
  };

  [[nodiscard]] static std::size_t index(std::size_t slot, int field) {
    return slot * 8 + static_cast<std::size_t>(field - 1);
  }
  [[nodiscard]] std::string_view copyIn(std::string_view value);

  std::size_t capacity_ = 0;
  // Zero-filled by the allocator, so slots that are never written cost no
  // memory until they are touched.
  std::unique_ptr<Cell[], FreeCells> cells_;
  std::vector<std::unique_ptr<const std::string>> texts_;
  // Made on the first kept card: most files have none.
  std::vector<std::string_view> cards_;
  std::vector<bool> changed_;
  std::vector<std::unique_ptr<std::string_view>> longValues_;
  std::vector<std::unique_ptr<char[]>> blocks_;
  char* blockFree_ = nullptr;
  std::size_t blockLeft_ = 0;
};

// Capacity for a file of n cards: 999, or 1.5 n rounded half to even when
// that is larger.
[[nodiscard]] std::size_t capacityFor(std::size_t cards);

}  // namespace addressbook
