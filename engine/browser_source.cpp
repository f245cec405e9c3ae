#include "engine/browser_source.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <limits>
#include <thread>

namespace engine {

namespace {

constexpr int kMaxRetries = 32;
constexpr auto kRetryPause = std::chrono::milliseconds(30);
constexpr int kEntriesBetweenLockPauses = 64;
constexpr auto kLockPause = std::chrono::milliseconds(50);
constexpr RecordNumber kHighestRecord = std::numeric_limits<RecordNumber>::max();

// Sorts after every key an index can hold.
const KeyString& HighestKey() {
  static const KeyString key(std::string(KeyString::kMaxLength, '\xFF'));
  return key;
}

// A lock conflict may clear up; a scan that could not read the file will not, so
// it is reported at once instead of being tried again (or, worse, taken for success).
bool IsWorthRetrying(const Engine& engine) {
  return engine.ErrorClass() == StatusClass::kMayRetry && engine.Status() != status::kScanReadError;
}

}  // namespace

int ScrollMargin(std::int32_t entries) {
  const std::int32_t s = kScrollScale;
  const std::int32_t ratio = s / std::max(entries, 1);
  std::int32_t margin = 4 * s;
  if (ratio == 0) {
    margin = 2;
  } else if (ratio == 1) {
    margin = s / (s / 4);
  } else if (ratio == 2) {
    margin = s / (s / 8);
  } else if (ratio <= 4) {
    margin = s / (s / 10);
  } else if (ratio <= 10) {
    margin = s / (s / 25);
  } else if (ratio <= 20) {
    margin = s / (s / 50);
  } else if (ratio <= 25) {
    margin = s;
  } else if (ratio <= 33) {
    margin = 2 * s;
  }
  margin = std::max(margin, 2);
  return margin - margin % 2;
}

std::optional<KeyString> TypedSearchKey(char32_t character) {
  constexpr char32_t kUmlauts[] = {0xC4, 0xD6, 0xDC, 0xDF, 0xE4, 0xF6, 0xFC};  // Ä Ö Ü ß ä ö ü
  if (character >= U'a' && character <= U'z') character = character - U'a' + U'A';
  if ((character >= U'0' && character <= U'9') || (character >= U'A' && character <= U'Z')) {
    return KeyString(std::string(1, static_cast<char>(character)));
  }
  if (std::find(std::begin(kUmlauts), std::end(kUmlauts), character) == std::end(kUmlauts)) return std::nullopt;
  // Stored text is Windows-1252, where each of these is the byte of its own number.
  return KeyString(std::string(1, static_cast<char>(character)));
}

BrowserSource::BrowserSource(Engine& engine, FileBlock* fileBlock, KeyNumber keyNumber, std::span<std::byte> record,
                             const KeyString& lowKey, const KeyString& highKey, int rowCapacity, int elementsPerRow)
    : engine_(engine),
      fileBlock_(fileBlock),
      keyNumber_(keyNumber),
      record_(record),
      lowKey_(lowKey),
      highKey_(highKey),
      rowCapacity_(std::max(rowCapacity, 1)),
      elementsPerRow_(std::max(elementsPerRow, 1)),
      visibleRows_(rowCapacity_) {}

// --- Outcomes ------------------------------------------------------------------

// The class of the engine's last status; a failure's status is kept for the report.
StatusClass BrowserSource::Outcome() {
  const StatusClass statusClass = engine_.ErrorClass();
  if (statusClass != StatusClass::kSuccess) lastStatus_ = engine_.Status();
  return statusClass;
}

StatusClass BrowserSource::HandlerOutcome(int handlerStatus) {
  if (handlerStatus == status::kOk) return StatusClass::kSuccess;
  lastStatus_ = handlerStatus;
  return ClassOfStatus(handlerStatus);
}

template <class Read>
StatusClass BrowserSource::Retried(Read read) {
  read();
  for (int retry = 0; retry < kMaxRetries && IsWorthRetrying(engine_); ++retry) {
    std::this_thread::sleep_for(kRetryPause);
    read();
  }
  return Outcome();
}

// --- Engine calls ----------------------------------------------------------------

bool BrowserSource::WithinBounds(const Entry& entry) const {
  if (!KeyOrder()) return true;
  return (lowKey_.empty() || Compare(entry.key, lowKey_) >= 0) &&
         (highKey_.empty() || Compare(entry.key, highKey_) <= 0);
}

BrowserSource::Entry BrowserSource::Clamped(const Entry& entry) const {
  if (KeyOrder() && !lowKey_.empty() && Compare(entry.key, lowKey_) < 0) return {lowKey_, 0};
  return entry;
}

StatusClass BrowserSource::SeekEntry(Seek seek, Entry& entry) {
  return KeyOrder() ? SeekKey(seek, entry) : SeekRecord(seek, entry);
}

// The index keeps one walking position that other callers move too, so every seek
// finds the row's entry again before stepping from it.
StatusClass BrowserSource::SeekKey(Seek seek, Entry& entry) {
  const auto find = [this, &entry](int mode) {
    return Retried([&] { engine_.FindKey(fileBlock_, keyNumber_, entry.number, entry.key, mode); });
  };
  switch (seek) {
    case Seek::kFirst:
      entry = {lowKey_, 0};
      return find(1);
    case Seek::kLast:
      entry = {highKey_.empty() ? HighestKey() : highKey_, kHighestRecord};
      return find(-1);
    case Seek::kAtOrAfter:
      return find(1);
    case Seek::kAfter:
    case Seek::kBefore: {
      const Entry from = entry;
      const bool forward = seek == Seek::kAfter;
      const StatusClass found = find(forward ? 1 : -1);
      // When the row's entry is gone, the nearest one found is already the step.
      if (found != StatusClass::kSuccess || entry.key != from.key || entry.number != from.number) return found;
      return StepEntry(forward, entry);
    }
  }
  return StatusClass::kNotFound;
}

StatusClass BrowserSource::SeekRecord(Seek seek, Entry& entry) {
  entry.key = KeyString();
  const auto scan = [this, &entry](int direction) {
    return Retried([&] { engine_.TestUsedRecord(fileBlock_, entry.number, direction); });
  };
  switch (seek) {
    case Seek::kFirst:
      entry.number = 1;
      return scan(1);
    case Seek::kLast:
      entry.number = kHighestRecord;
      return scan(-1);
    case Seek::kAtOrAfter:
      return scan(1);
    case Seek::kAfter:
    case Seek::kBefore:
      return StepEntry(seek == Seek::kAfter, entry);
  }
  return StatusClass::kNotFound;
}

StatusClass BrowserSource::StepEntry(bool forward, Entry& entry) {
  if (!KeyOrder()) {
    return Retried([&] {
      forward ? engine_.NextUsedRecord(fileBlock_, entry.number) : engine_.PrevUsedRecord(fileBlock_, entry.number);
    });
  }
  return Retried([&] {
    forward ? engine_.NextKey(fileBlock_, keyNumber_, entry.number, entry.key)
            : engine_.PrevKey(fileBlock_, keyNumber_, entry.number, entry.key);
  });
}

// A record that cannot be read leaves its row in place, marked, for a placeholder text.
StatusClass BrowserSource::ReadRecord(RowRec& row) {
  const StatusClass read = Retried([&] { engine_.GetRecord(fileBlock_, row.number, record_); });
  if (Failed(read)) return read;
  row.readStatus = read == StatusClass::kSuccess && RecordInUse(record_) ? 0 : -1;
  return StatusClass::kSuccess;
}

StatusClass BrowserSource::Count(std::int32_t& entries) {
  entries = KeyOrder() ? engine_.KeysInIndex(fileBlock_, keyNumber_) : engine_.UsedRecords(fileBlock_);
  return Outcome();
}

StatusClass BrowserSource::PositionOf(const Entry& entry, std::int32_t scale, std::int32_t& position) {
  position = KeyOrder() ? engine_.KeyPosition(fileBlock_, keyNumber_, entry.key, entry.number, scale)
                        : engine_.RecordPosition(fileBlock_, entry.number, scale);
  return Outcome();
}

// An entry near `position`: the engine's estimate, moved onto an entry that exists.
StatusClass BrowserSource::EntryAtPosition(std::int32_t position, std::int32_t scale, Entry& entry) {
  if (KeyOrder()) {
    engine_.KeyAtPosition(fileBlock_, keyNumber_, position, scale, entry.number, entry.key);
  } else {
    entry.number = engine_.RecordAtPosition(fileBlock_, position, scale);
  }
  if (const StatusClass estimated = Outcome(); estimated != StatusClass::kSuccess) return estimated;
  const StatusClass found = SeekEntry(Seek::kAtOrAfter, entry);
  return found == StatusClass::kNotFound ? SeekEntry(Seek::kLast, entry) : found;
}

// --- Scroll positions ------------------------------------------------------------

StatusClass BrowserSource::DisplayedPosition(const Entry& entry, std::int32_t entries, std::int32_t& position) {
  position = 0;
  if (entries <= 1) return StatusClass::kSuccess;
  const int margin = ScrollMargin(entries);
  std::int32_t enlarged = 0;
  if (const StatusClass placed = PositionOf(entry, kScrollScale + margin, enlarged); placed != StatusClass::kSuccess)
    return placed;
  if (enlarged > margin / 2) position = std::min(enlarged - margin / 2, kScrollScale);
  return StatusClass::kSuccess;
}

StatusClass BrowserSource::ScrollPosition(std::int32_t& position) {
  position = 0;
  if (!positionValid_) return StatusClass::kSuccess;
  std::int32_t entries = 0;
  if (const StatusClass counted = Count(entries); counted != StatusClass::kSuccess) return counted;
  return DisplayedPosition({CurrentKey(), CurrentRecordNumber()}, entries, position);
}

// The estimate of the entry at a thumb position is refined by bisection over the trial
// positions until the entry's own scroll position matches or no new trial remains.
StatusClass BrowserSource::NearestEntryToThumb(std::int32_t position, std::int32_t entries, Entry& best) {
  const int margin = ScrollMargin(entries);
  const std::int32_t scale = kScrollScale + margin;
  std::int32_t low = 0;
  std::int32_t high = scale;
  std::int32_t trial = std::min(position + margin / 2, scale);
  std::int32_t bestDistance = std::numeric_limits<std::int32_t>::max();
  for (;;) {
    Entry candidate;
    if (const StatusClass found = EntryAtPosition(trial, scale, candidate); found != StatusClass::kSuccess)
      return found;
    std::int32_t shown = 0;
    if (const StatusClass placed = DisplayedPosition(candidate, entries, shown); placed != StatusClass::kSuccess)
      return placed;
    if (std::abs(shown - position) < bestDistance) {
      bestDistance = std::abs(shown - position);
      best = candidate;
    }
    if (shown == position) return StatusClass::kSuccess;
    (shown < position ? low : high) = trial;
    const std::int32_t halfway = low + (high - low) / 2;
    if (halfway == trial) return StatusClass::kSuccess;
    trial = halfway;
  }
}

StatusClass BrowserSource::PositionAtScroll(std::int32_t position) {
  if (position <= 0) return First();
  if (position >= kScrollScale) return Last();
  std::int32_t entries = 0;
  if (const StatusClass counted = Count(entries); counted != StatusClass::kSuccess) return counted;
  Entry best;
  const StatusClass found = entries == 0 ? StatusClass::kNotFound : NearestEntryToThumb(position, entries, best);
  if (found == StatusClass::kNotFound) return First();
  if (found != StatusClass::kSuccess) return found;
  return PageOperation([&] { return FillAround(Seek::kAtOrAfter, Clamped(best), HighlightRow()); });
}

// --- Fetching rows ------------------------------------------------------------------

StatusClass BrowserSource::Fetch(Seek seek, const Entry& from, RowRec& row) {
  Entry entry = from;
  const bool forward = IsForward(seek);
  for (StatusClass found = SeekEntry(seek, entry);; found = StepEntry(forward, entry)) {
    if (found != StatusClass::kSuccess) return found;
    if (!WithinBounds(entry)) return StatusClass::kNotFound;
    CountFetchedEntry();
    row = RowRec();
    row.key = entry.key;
    row.number = entry.number;
    if (const StatusClass read = ReadRecord(row); read != StatusClass::kSuccess) return read;
    bool useIt = true;
    if (const StatusClass filtered = Filter(row, useIt); filtered != StatusClass::kSuccess) return filtered;
    if (useIt) return BuildRow(row);
  }
}

StatusClass BrowserSource::Filter(RowRec& row, bool& useIt) {
  useIt = true;
  if (!filterEnabled_ || !OnPerformFilter) return StatusClass::kSuccess;
  const int handlerStatus = OnPerformFilter(row, useIt);
  ReportFilterWorking(!useIt);
  return HandlerOutcome(handlerStatus);
}

StatusClass BrowserSource::BuildRow(RowRec& row) {
  row.elements.assign(static_cast<std::size_t>(elementsPerRow_), BRLRowEltString());
  const int handlerStatus = OnBuildRow ? OnBuildRow(row) : status::kOk;
  row.elements.resize(static_cast<std::size_t>(elementsPerRow_));
  for (BRLRowEltString& element : row.elements) {
    if (element.size() > kRowElementLength) element.resize(kRowElementLength);
  }
  row.valid = true;
  row.changed = true;
  return HandlerOutcome(handlerStatus);
}

// A long scan under a read lock lets other users in now and then.
void BrowserSource::CountFetchedEntry() {
  if (++entriesSinceLockPause_ < kEntriesBetweenLockPauses) return;
  entriesSinceLockPause_ = 0;
  if (!readWithLocks_) return;
  engine_.ReadUnlockFileSet(fileBlock_);
  std::this_thread::sleep_for(kLockPause);
  engine_.ReadLockFileSet(fileBlock_);
  readWithLocks_ = engine_.Ok();
}

void BrowserSource::ReportFilterWorking(bool rejected) {
  const int callState = filterReportPending_ ? 0 : -1;
  filterReportPending_ = true;
  if (OnShowFilterWorking) OnShowFilterWorking(callState, rejected);
}

void BrowserSource::EndFilterReport() {
  if (!filterReportPending_) return;
  filterReportPending_ = false;
  if (OnShowFilterWorking) OnShowFilterWorking(1, false);
}

void BrowserSource::SetFilterEnabled(bool enabled) {
  filterEnabled_ = enabled;
  if (!enabled) EndFilterReport();
}

StatusClass BrowserSource::Lock() {
  engine_.ReadLockFileSet(fileBlock_);
  const StatusClass locked = Outcome();
  readWithLocks_ = locked == StatusClass::kSuccess;
  entriesSinceLockPause_ = 0;
  return locked;
}

StatusClass BrowserSource::Unlock() {
  readWithLocks_ = false;
  engine_.ReadUnlockFileSet(fileBlock_);
  return Outcome();
}

// --- Pages ------------------------------------------------------------------------

template <class Fill>
StatusClass BrowserSource::PageOperation(Fill fill) {
  const auto notify = [this](const TPrePostCompletePage& event) { return HandlerOutcome(event ? event() : 0); };
  StatusClass outcome = notify(OnPreCompletePage);
  if (outcome == StatusClass::kSuccess) {
    outcome = fill();
    if (!Failed(outcome)) outcome = std::max(outcome, notify(OnPostCompletePage));
  }
  EndFilterReport();
  return outcome;
}

StatusClass BrowserSource::Prepend(Page& page, int count, int& added) {
  for (added = 0; added < count; ++added) {
    RowRec row;
    if (const StatusClass found = Fetch(Seek::kBefore, {page.front().key, page.front().number}, row);
        found != StatusClass::kSuccess)
      return found;
    page.push_front(std::move(row));
  }
  return StatusClass::kSuccess;
}

StatusClass BrowserSource::Append(Page& page, int count, int& added) {
  for (added = 0; added < count; ++added) {
    RowRec row;
    if (const StatusClass found = Fetch(Seek::kAfter, {page.back().key, page.back().number}, row);
        found != StatusClass::kSuccess)
      return found;
    page.push_back(std::move(row));
  }
  return StatusClass::kSuccess;
}

// Fills the rest of the window below the page and then, at the end, above it.
StatusClass BrowserSource::FillWindow(Page& page, int& addedAbove) {
  int addedBelow = 0;
  if (const StatusClass below = Append(page, visibleRows_ - static_cast<int>(page.size()), addedBelow); Failed(below))
    return below;
  if (const StatusClass above = Prepend(page, visibleRows_ - static_cast<int>(page.size()), addedAbove); Failed(above))
    return above;
  return StatusClass::kSuccess;
}

// A page with the entry found by `seek` on `screenRow`, or as near to it as the
// entries before it allow.
StatusClass BrowserSource::FillAround(Seek seek, const Entry& from, int screenRow) {
  Page page(1);
  StatusClass found = Fetch(seek, from, page.front());
  if (found == StatusClass::kNotFound && seek == Seek::kAtOrAfter) found = Fetch(Seek::kLast, {}, page.front());
  if (found == StatusClass::kNotFound) Clear();
  if (found != StatusClass::kSuccess) return found;
  int above = 0;
  if (const StatusClass filled = Prepend(page, screenRow, above); Failed(filled)) return filled;
  int more = 0;
  if (const StatusClass filled = FillWindow(page, more); Failed(filled)) return filled;
  Commit(page, above + more);
  return StatusClass::kSuccess;
}

void BrowserSource::Commit(Page& page, int currentRow) {
  for (RowRec& row : page) row.changed = true;
  rows_.assign(std::make_move_iterator(page.begin()), std::make_move_iterator(page.end()));
  positionValid_ = !rows_.empty();
  currentRow_ = std::clamp(currentRow, 0, std::max(RowCount() - 1, 0));
}

void BrowserSource::Clear() {
  rows_.clear();
  currentRow_ = 0;
  positionValid_ = false;
}

int BrowserSource::HighlightRow() const { return positionValid_ ? std::min(currentRow_, visibleRows_ - 1) : 0; }

void BrowserSource::MarkPainted() {
  for (RowRec& row : rows_) row.changed = false;
}

StatusClass BrowserSource::SetVisibleRows(int count) {
  visibleRows_ = std::clamp(count, 1, rowCapacity_);
  if (!positionValid_ || RowCount() == visibleRows_) return StatusClass::kSuccess;
  Page page = CurrentPage();
  if (RowCount() > visibleRows_) {
    // Rows below the current one go first, so that it stays in the window.
    const int excess = RowCount() - visibleRows_;
    const int fromBottom = std::min(excess, RowCount() - 1 - currentRow_);
    page.erase(page.end() - fromBottom, page.end());
    page.erase(page.begin(), page.begin() + (excess - fromBottom));
    Commit(page, currentRow_ - (excess - fromBottom));
    return StatusClass::kSuccess;
  }
  return PageOperation([&] {
    int above = 0;
    if (const StatusClass filled = FillWindow(page, above); Failed(filled)) return filled;
    Commit(page, currentRow_ + above);
    return StatusClass::kSuccess;
  });
}

// --- Moves ----------------------------------------------------------------------------

StatusClass BrowserSource::First() {
  return PageOperation([&] { return FillAround(Seek::kFirst, {}, 0); });
}

StatusClass BrowserSource::Last() {
  return PageOperation([&] { return FillAround(Seek::kLast, {}, visibleRows_ - 1); });
}

StatusClass BrowserSource::MoveDown() {
  if (!positionValid_) return StatusClass::kNotFound;
  if (currentRow_ + 1 < RowCount()) {
    ++currentRow_;
    return StatusClass::kSuccess;
  }
  return PageOperation([&] {
    Page page = CurrentPage();
    int added = 0;
    if (const StatusClass found = Append(page, 1, added); found != StatusClass::kSuccess) return found;
    if (static_cast<int>(page.size()) > visibleRows_) page.pop_front();
    Commit(page, static_cast<int>(page.size()) - 1);
    return StatusClass::kSuccess;
  });
}

StatusClass BrowserSource::MoveUp() {
  if (!positionValid_) return StatusClass::kNotFound;
  if (currentRow_ > 0) {
    --currentRow_;
    return StatusClass::kSuccess;
  }
  return PageOperation([&] {
    Page page = CurrentPage();
    int added = 0;
    if (const StatusClass found = Prepend(page, 1, added); found != StatusClass::kSuccess) return found;
    if (static_cast<int>(page.size()) > visibleRows_) page.pop_back();
    Commit(page, 0);
    return StatusClass::kSuccess;
  });
}

// The rows move up by the entries fetched and the highlight keeps its place on the
// screen; at the end of the list it goes to the last row.
StatusClass BrowserSource::PageDown() {
  if (!positionValid_) return StatusClass::kNotFound;
  return PageOperation([&] {
    Page page = CurrentPage();
    int added = 0;
    if (const StatusClass found = Append(page, visibleRows_, added); Failed(found)) return found;
    const int excess = std::max(static_cast<int>(page.size()) - visibleRows_, 0);
    page.erase(page.begin(), page.begin() + excess);
    Commit(page, added < visibleRows_ ? static_cast<int>(page.size()) - 1 : currentRow_);
    return StatusClass::kSuccess;
  });
}

StatusClass BrowserSource::PageUp() {
  if (!positionValid_) return StatusClass::kNotFound;
  return PageOperation([&] {
    Page page = CurrentPage();
    int added = 0;
    if (const StatusClass found = Prepend(page, visibleRows_, added); Failed(found)) return found;
    const int excess = std::max(static_cast<int>(page.size()) - visibleRows_, 0);
    page.erase(page.end() - excess, page.end());
    Commit(page, added < visibleRows_ ? 0 : currentRow_);
    return StatusClass::kSuccess;
  });
}

bool BrowserSource::SelectRow(int row) {
  if (!positionValid_ || row < 0 || row >= RowCount()) return false;
  currentRow_ = row;
  return true;
}

StatusClass BrowserSource::PositionAtKey(const KeyString& key, RecordNumber number) {
  return PageOperation([&] { return FillAround(Seek::kAtOrAfter, Clamped({key, number}), HighlightRow()); });
}

StatusClass BrowserSource::Refresh() {
  if (!positionValid_) return First();
  const Entry current{CurrentKey(), CurrentRecordNumber()};
  return PageOperation([&] { return FillAround(Seek::kAtOrAfter, current, HighlightRow()); });
}

StatusClass BrowserSource::SetKeyNumber(KeyNumber keyNumber) {
  keyNumber_ = keyNumber;
  Clear();
  return First();
}

// --- The current entry ---------------------------------------------------------------

StatusClass BrowserSource::ReadCurrentRecord() {
  if (!positionValid_) return StatusClass::kNotFound;
  RowRec row = rows_[static_cast<std::size_t>(currentRow_)];
  if (const StatusClass read = ReadRecord(row); read != StatusClass::kSuccess) return read;
  return row.readStatus == 0 ? StatusClass::kSuccess : StatusClass::kNotFound;
}

KeyString BrowserSource::CurrentKey() const {
  return positionValid_ ? rows_[static_cast<std::size_t>(currentRow_)].key : KeyString();
}

RecordNumber BrowserSource::CurrentRecordNumber() const {
  return positionValid_ ? rows_[static_cast<std::size_t>(currentRow_)].number : 0;
}

}  // namespace engine
