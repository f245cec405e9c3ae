// The data source of the keyed browser: binds a list window to one index of an open
// file set (or to record-number order) and keeps only the rows of the visible page,
// fetching neighbouring entries through the engine as the user moves.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "engine/engine.h"

namespace engine {

// One text element of a row; longer text set by OnBuildRow is cut to this length.
using BRLRowEltString = std::string;
constexpr std::size_t kRowElementLength = 128;

// One visible row, passed to the events.
struct RowRec {
  KeyString key;
  RecordNumber number = 0;  // 0 or less: an empty row
  int readStatus = 0;       // -1: the record could not be read (deleted meanwhile)
  bool changed = false;     // contents changed since the last paint
  bool valid = false;
  std::vector<BRLRowEltString> elements;
};

// The events carry no sender: a handler captures what it needs. A nonzero result is
// an engine status (not a class) and ends the operation with that status's class.
using TBuildRowEvent = std::function<int(RowRec& row)>;
using TFilterEvent = std::function<int(RowRec& row, bool& useIt)>;
using TFilterWorkingEvent = std::function<void(int callState, bool rejected)>;
using TPrePostCompletePage = std::function<int()>;

// The scroll bar's scale: positions run 0..kScrollScale.
constexpr std::int32_t kScrollScale = 63;

// The margin that spreads the entries of a small file over the scroll bar: the
// position is taken on the scale S + margin and shifted down by half the margin.
int ScrollMargin(std::int32_t entries);

// The one-character key a typed character searches for, or nothing when the character
// does not search. Keys are bytes of Windows-1252 text: letters a-z are upper-cased,
// and the umlauts and sharp s are left as typed, as stored keys fold only ASCII.
std::optional<KeyString> TypedSearchKey(char32_t character);

class BrowserSource {
 public:
  // keyNumber 0 browses in record-number order; empty bounds leave that end open.
  // The record buffer must hold a whole record and outlive the data source.
  BrowserSource(Engine& engine, FileBlock* fileBlock, KeyNumber keyNumber, std::span<std::byte> record,
                const KeyString& lowKey, const KeyString& highKey, int rowCapacity, int elementsPerRow = 1);

  TBuildRowEvent OnBuildRow;
  TFilterEvent OnPerformFilter;
  TFilterWorkingEvent OnShowFilterWorking;
  TPrePostCompletePage OnPreCompletePage;
  TPrePostCompletePage OnPostCompletePage;

  // Every operation returning a StatusClass ends in kSuccess, kNotFound (nothing to
  // move to, a normal outcome) or a class that Failed(), with LastStatus() telling why.
  int LastStatus() const { return lastStatus_; }

  // --- The page -------------------------------------------------------------
  // How many rows fit the window (1..capacity); a taller window fetches more rows.
  StatusClass SetVisibleRows(int count);
  int VisibleRows() const { return visibleRows_; }
  int RowCapacity() const { return rowCapacity_; }
  int RowCount() const { return static_cast<int>(rows_.size()); }
  const RowRec& Row(int index) const { return rows_[static_cast<std::size_t>(index)]; }
  int CurrentRow() const { return positionValid_ ? currentRow_ : -1; }
  bool PositionValid() const { return positionValid_; }
  void MarkPainted();

  // --- Moves ------------------------------------------------------------------
  StatusClass First();
  StatusClass Last();
  StatusClass MoveDown();
  StatusClass MoveUp();
  StatusClass PageDown();
  StatusClass PageUp();
  bool SelectRow(int row);
  // The first entry at or after (key, number) becomes the current row; the last entry
  // when there is none.
  StatusClass PositionAtKey(const KeyString& key, RecordNumber number);
  // Re-reads the page around the current entry, which stays current while it exists.
  StatusClass Refresh();
  // Browses another index from its first entry: the data source cannot make the
  // current record's key in another index, so callers position at it afterwards.
  StatusClass SetKeyNumber(KeyNumber keyNumber);
  KeyNumber CurrentKeyNumber() const { return keyNumber_; }

  // --- Scroll bar (0..kScrollScale) -------------------------------------------
  StatusClass ScrollPosition(std::int32_t& position);
  StatusClass PositionAtScroll(std::int32_t position);

  // --- The current entry --------------------------------------------------------
  // Reads the current row's record into the record buffer; kNotFound when there is no
  // current row or its record was deleted.
  StatusClass ReadCurrentRecord();
  KeyString CurrentKey() const;
  RecordNumber CurrentRecordNumber() const;

  // --- Filter and locks -------------------------------------------------------
  void SetFilterEnabled(bool enabled);
  bool FilterEnabled() const { return filterEnabled_; }
  // While the read lock is held, long scans let go of it every 64 entries.
  StatusClass Lock();
  StatusClass Unlock();

 private:
  struct Entry {
    KeyString key;
    RecordNumber number = 0;
  };
  enum class Seek { kFirst, kLast, kAtOrAfter, kAfter, kBefore };
  using Page = std::deque<RowRec>;

  static bool IsForward(Seek seek) { return seek != Seek::kLast && seek != Seek::kBefore; }
  bool KeyOrder() const { return keyNumber_ != 0; }
  bool WithinBounds(const Entry& entry) const;
  Entry Clamped(const Entry& entry) const;
  int HighlightRow() const;

  // Engine calls, with their outcome taken as the class of the status they leave.
  StatusClass Outcome();
  StatusClass HandlerOutcome(int status);
  template <class Read>
  StatusClass Retried(Read read);
  StatusClass SeekEntry(Seek seek, Entry& entry);
  StatusClass SeekKey(Seek seek, Entry& entry);
  StatusClass SeekRecord(Seek seek, Entry& entry);
  StatusClass StepEntry(bool forward, Entry& entry);
  StatusClass ReadRecord(RowRec& row);
  StatusClass Count(std::int32_t& entries);
  StatusClass PositionOf(const Entry& entry, std::int32_t scale, std::int32_t& position);
  StatusClass EntryAtPosition(std::int32_t position, std::int32_t scale, Entry& entry);
  StatusClass DisplayedPosition(const Entry& entry, std::int32_t entries, std::int32_t& position);
  StatusClass NearestEntryToThumb(std::int32_t position, std::int32_t entries, Entry& best);

  // Fetching one row: bounds, record, filter, row text, lock pause.
  StatusClass Fetch(Seek seek, const Entry& from, RowRec& row);
  StatusClass Filter(RowRec& row, bool& useIt);
  StatusClass BuildRow(RowRec& row);
  void CountFetchedEntry();
  void ReportFilterWorking(bool rejected);
  void EndFilterReport();

  // Pages.
  template <class Fill>
  StatusClass PageOperation(Fill fill);
  StatusClass FillAround(Seek seek, const Entry& from, int screenRow);
  StatusClass Prepend(Page& page, int count, int& added);
  StatusClass Append(Page& page, int count, int& added);
  StatusClass FillWindow(Page& page, int& addedAbove);
  void Commit(Page& page, int currentRow);
  void Clear();
  Page CurrentPage() const { return Page(rows_.begin(), rows_.end()); }

  Engine& engine_;
  FileBlock* fileBlock_;
  KeyNumber keyNumber_;
  std::span<std::byte> record_;
  KeyString lowKey_;
  KeyString highKey_;
  int rowCapacity_;
  int elementsPerRow_;
  int visibleRows_;
  std::vector<RowRec> rows_;
  int currentRow_ = 0;
  bool positionValid_ = false;
  bool filterEnabled_ = false;
  bool filterReportPending_ = false;  // an entry was filtered since the last end report
  bool readWithLocks_ = false;
  int entriesSinceLockPause_ = 0;
  int lastStatus_ = status::kOk;
};

}  // namespace engine
