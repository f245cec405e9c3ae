#include "shell/terms_list.h"

#include <algorithm>

#include "model/side_files.h"
#include "model/text.h"

namespace shell {
namespace {

constexpr std::string_view kEditorCaption = "Edit Payment Terms";

bool SortsBefore(const std::string& a, const std::string& b) { return model::ToUpperAscii(a) < model::ToUpperAscii(b); }

}  // namespace

std::size_t InsertTermSorted(std::vector<std::string>& terms, std::string term) {
  const auto at = std::upper_bound(terms.begin(), terms.end(), term, SortsBefore);
  return static_cast<std::size_t>(terms.insert(at, std::move(term)) - terms.begin());
}

void TermsEditor::Load() {
  EndPending();
  const model::FileOutcome read = model::LoadTerms(terms_);
  loaded_ = read.ok;
  if (!loaded_) {
    terms_.clear();
    dialogs_.inform(kEditorCaption, read.error, platform::Icon::kError);
  }
  std::stable_sort(terms_.begin(), terms_.end(), SortsBefore);
  SelectFirst();
}

void TermsEditor::BeginAdd() {
  if (!loaded_) return;
  mode_ = TermsMode::kAdding;
  editing_ = -1;
  entry_.clear();
}

bool TermsEditor::BeginEdit() {
  if (!loaded_ || selected_ < 0) return false;
  mode_ = TermsMode::kEditing;
  editing_ = selected_;
  entry_ = terms_[static_cast<std::size_t>(selected_)];
  return true;
}

bool TermsEditor::Commit(std::string_view entry) {
  if (mode_ == TermsMode::kNone) return false;
  if (model::TrimBlanks(entry).empty()) {
    dialogs_.inform("Invalid Payment Term", "You do not have any text entered.", platform::Icon::kInformation);
    return false;
  }
  if (mode_ == TermsMode::kEditing) terms_.erase(terms_.begin() + editing_);
  InsertTermSorted(terms_, std::string(entry.substr(0, model::kTermCapacity)));
  EndPending();
  SelectFirst();
  return true;
}

bool TermsEditor::DeleteSelected() {
  if (!loaded_) return false;
  if (terms_.size() <= 1) {
    dialogs_.inform("Delete Payment Term", "You must have at least on payment term.", platform::Icon::kInformation);
    return false;
  }
  if (selected_ < 0) return false;
  EndPending();
  terms_.erase(terms_.begin() + selected_);
  SelectFirst();
  return true;
}

void TermsEditor::CancelPending() { EndPending(); }

void TermsEditor::Select(int index) {
  selected_ = index >= 0 && index < static_cast<int>(terms_.size()) ? index : -1;
}

bool TermsEditor::Save() {
  if (!loaded_) return true;
  const model::FileOutcome written = model::SaveTerms(terms_);
  if (!written) dialogs_.inform(kEditorCaption, written.error, platform::Icon::kError);
  return written.ok;
}

std::string_view TermsEditor::Prompt() const {
  switch (mode_) {
    case TermsMode::kAdding: return "Enter new payment term and select Ok button...";
    case TermsMode::kEditing: return "Edit this payment term and select Ok button...";
    case TermsMode::kNone: break;
  }
  return {};
}

void TermsEditor::EndPending() {
  mode_ = TermsMode::kNone;
  editing_ = -1;
  entry_.clear();
}

void TermsEditor::SelectFirst() { selected_ = terms_.empty() ? -1 : 0; }

}  // namespace shell
