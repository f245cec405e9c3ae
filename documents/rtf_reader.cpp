#include "documents/rtf_reader.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <map>
#include <optional>
#include <vector>

namespace documents {
namespace {

// Deeper groups are skipped: no letter needs them, and each level costs a copy of
// the formatting state.
constexpr std::size_t kMaxDepth = 100;
constexpr std::size_t kMaxTabStops = 64;
constexpr std::size_t kMaxFontName = 256;
constexpr std::size_t kMaxWordLength = 32;
constexpr int kMaxUnicodeFallback = 16;
constexpr double kTwipsPerPoint = 20;
constexpr int kDefaultHalfPoints = 24;  // RTF's size when a document names none
constexpr char32_t kReplacement = 0xFFFD;

enum class Destination {
  kText,        // the letter itself
  kSkip,        // read only to find where the group ends
  kFontTable,
  kColorTable,
  kBulletText,  // the bullet a word processor prints before the paragraph
};

// A run's format with the font and colour still as table numbers, so that comparing
// formats character by character stays cheap; they are looked up when a run ends.
struct CharFormat {
  std::optional<long> font{};  // none: the document's default font
  double points = kDefaultHalfPoints / 2.0;
  bool bold = false;
  bool italic = false;
  bool underline = false;
  long color = 0;

  friend bool operator==(const CharFormat&, const CharFormat&) = default;
};

// What a group carries: it starts as a copy of its parent's and is dropped with it.
struct GroupState {
  Destination destination = Destination::kText;
  CharFormat format{};
  Paragraph paragraph{};  // the formatting only; runs stay empty
  int unicodeFallback = 1;
};

struct ControlWord {
  std::string_view name;
  std::optional<long> parameter;

  long Or(long fallback) const { return parameter.value_or(fallback); }
  bool On() const { return Or(1) != 0; }
  double Points() const { return static_cast<double>(Or(0)) / kTwipsPerPoint; }
};

// Windows-1252 at 0x80-0x9F; the rest of the upper half is Latin-1.
char32_t FromCodePage1252(unsigned char byte) {
  static constexpr std::array<char32_t, 32> kHigh = {
      0x20AC, kReplacement, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
      0x2039, 0x0152,       kReplacement, 0x017D, kReplacement, kReplacement, 0x2018, 0x2019, 0x201C,
      0x201D, 0x2022,       0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, kReplacement,
      0x017E, 0x0178};
  if (byte >= 0x80 && byte <= 0x9F) return kHigh[byte - 0x80];
  return byte;
}

void AppendUtf8(std::string& out, char32_t code) {
  if (code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) code = kReplacement;
  if (code < 0x80) {
    out += static_cast<char>(code);
  } else if (code < 0x800) {
    out += static_cast<char>(0xC0 | (code >> 6));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else if (code < 0x10000) {
    out += static_cast<char>(0xE0 | (code >> 12));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (code >> 18));
    out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  }
}

std::string Utf8(char32_t code) {
  std::string out;
  AppendUtf8(out, code);
  return out;
}

bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsPlainAscii(char c) { return c >= 0x20 && c < 0x7F && c != '{' && c != '}' && c != '\\'; }

std::optional<int> HexValue(char c) {
  if (IsDigit(c)) return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return std::nullopt;
}

// Groups whose content is not letter text: headers and footers, pictures, tables of
// styles and lists, document properties, and the instructions behind a field.
bool IsSkippedDestination(std::string_view word) {
  static constexpr std::array<std::string_view, 30> kSkipped = {
      "stylesheet", "info",     "pict",        "object",    "header",           "headerl",
      "headerr",    "headerf",  "footer",      "footerl",   "footerr",          "footerf",
      "footnote",   "fldinst",  "pn",          "listtable", "listoverridetable", "revtbl",
      "rsidtbl",    "generator", "xmlnstbl",   "themedata", "colorschememapping", "latentstyles",
      "datastore",  "shp",      "nonshppict",  "falt",      "filetbl",          "annotation"};
  return std::find(kSkipped.begin(), kSkipped.end(), word) != kSkipped.end();
}

// Control words that stand for one character of text.
std::optional<char32_t> SymbolWord(std::string_view word) {
  static const std::map<std::string_view, char32_t> kSymbols = {
      {"tab", U'\t'},          {"line", U'\n'},         {"cell", U'\t'},       {"bullet", 0x2022},
      {"emdash", 0x2014},      {"endash", 0x2013},      {"lquote", 0x2018},    {"rquote", 0x2019},
      {"ldblquote", 0x201C},   {"rdblquote", 0x201D},   {"emspace", U' '},     {"enspace", U' '},
      {"qmspace", U' '}};
  const auto found = kSymbols.find(word);
  if (found == kSymbols.end()) return std::nullopt;
  return found->second;
}

bool IsUnderlineWord(std::string_view word) {
  static constexpr std::array<std::string_view, 12> kUnderlines = {
      "ul", "uld", "uldash", "uldashd", "uldashdd", "uldb", "ulhwave", "ulth", "ulw", "ulwave", "ulldash",
      "ululdbwave"};
  return std::find(kUnderlines.begin(), kUnderlines.end(), word) != kUnderlines.end();
}

class Reader {
 public:
  explicit Reader(std::string_view rtf) : in_(rtf) {}

  RtfReadResult Read() {
    if (!SkipToDocumentStart()) return {{}, "The text is not an RTF document: it does not start with \"{\\rtf\"."};
    while (at_ < in_.size() && !ended_) Step();
    if (!ended_) {
      Fail("The document ends before all its groups are closed; the text read so far is kept.");
      FinishDocument(groups_.empty() ? GroupState{} : groups_.back());
    }
    return {std::move(document_), std::move(error_)};
  }

 private:
  // Leading white space and a UTF-8 byte order mark are tolerated.
  bool SkipToDocumentStart() {
    if (in_.substr(0, 3) == "\xEF\xBB\xBF") at_ = 3;
    while (at_ < in_.size() && (in_[at_] == ' ' || in_[at_] == '\r' || in_[at_] == '\n' || in_[at_] == '\t')) ++at_;
    return in_.substr(at_, 5) == "{\\rtf";
  }

  void Step() {
    const char c = in_[at_++];
    switch (c) {
      case '{': OpenGroup(); break;
      case '}': CloseGroup(); break;
      case '\\': ControlSequence(); break;
      case '\r':
      case '\n': break;  // line ends in the file are not text
      default:
        if (!PlainStretch()) PlainCharacter(static_cast<unsigned char>(c));
        break;
    }
  }

  // Letters and skipped pictures are mostly long stretches of plain characters;
  // taking a stretch at once keeps large files quick.
  bool PlainStretch() {
    if (pendingFallback_ > 0) return false;
    const bool skipping = Skipping();
    if (!skipping && State().destination != Destination::kText) return false;
    const std::size_t start = at_ - 1;
    std::size_t end = start;
    while (end < in_.size() && IsPlainAscii(in_[end])) ++end;
    if (end == start) return false;
    if (!skipping) Text(in_.substr(start, end - start));
    at_ = end;
    return true;
  }

  // Other control characters, as in binary junk, are no text; bytes above 127 are
  // taken in the code page the header names for nearly every file.
  void PlainCharacter(unsigned char byte) {
    if (byte < 0x20 && byte != '\t') return;
    FallbackOrText(Utf8(byte >= 0x80 ? FromCodePage1252(byte) : byte));
  }

  void Fail(std::string message) {
    if (error_.empty()) error_ = std::move(message);
  }

  bool Skipping() const {
    return overflow_ > 0 || groups_.empty() || groups_.back().destination == Destination::kSkip ||
           groups_.back().destination == Destination::kBulletText;
  }

  GroupState& State() { return groups_.back(); }

  void OpenGroup() {
    pendingFallback_ = 0;
    if (overflow_ > 0 || groups_.size() >= kMaxDepth) {
      ++overflow_;
      Fail("Groups are nested more than " + std::to_string(kMaxDepth) + " deep; the deeper ones are left out.");
      return;
    }
    groups_.push_back(groups_.empty() ? GroupState{} : groups_.back());
  }

  void CloseGroup() {
    pendingFallback_ = 0;
    if (overflow_ > 0) {
      --overflow_;
      return;
    }
    if (State().destination == Destination::kFontTable) CommitFont();  // the ";" is sometimes missing
    if (groups_.size() == 1) {
      FinishDocument(State());
      ended_ = true;
    }
    groups_.pop_back();
  }

  void ControlSequence() {
    if (at_ >= in_.size()) return;
    if (!IsLetter(in_[at_])) {
      ControlSymbol(in_[at_++]);
      return;
    }
    const std::size_t start = at_;
    while (at_ < in_.size() && IsLetter(in_[at_])) ++at_;
    const std::string_view name = in_.substr(start, std::min(at_ - start, kMaxWordLength));
    const std::optional<long> parameter = Parameter();
    if (at_ < in_.size() && in_[at_] == ' ') ++at_;  // the space only ends the word
    Word({name, parameter});
  }

  // An optional signed number after a control word, held to a sane range.
  std::optional<long> Parameter() {
    const bool negative = at_ + 1 < in_.size() && in_[at_] == '-' && IsDigit(in_[at_ + 1]);
    if (negative) ++at_;
    if (at_ >= in_.size() || !IsDigit(in_[at_])) return std::nullopt;
    long value = 0;
    for (; at_ < in_.size() && IsDigit(in_[at_]); ++at_) value = std::min(value * 10 + (in_[at_] - '0'), 1L << 30);
    return negative ? -value : value;
  }

  void ControlSymbol(char c) {
    switch (c) {
      case '\\':
      case '{':
      case '}': FallbackOrText(std::string(1, c)); return;
      case '\'': HexCharacter(); return;
      case '*': IgnorableDestination(); return;
      case '~': FallbackOrText(Utf8(0x00A0)); return;
      case '_': FallbackOrText(Utf8(0x2011)); return;
      case '\r':
      case '\n': EndParagraph(); return;
      default: return;  // optional hyphens and index marks do not show
    }
  }

  // A cut-off escape is dropped along with the one digit it has.
  void HexCharacter() {
    const std::optional<int> high = at_ < in_.size() ? HexValue(in_[at_]) : std::nullopt;
    if (!high) return;
    ++at_;
    const std::optional<int> low = at_ < in_.size() ? HexValue(in_[at_]) : std::nullopt;
    if (!low) return;
    ++at_;
    FallbackOrText(Utf8(FromCodePage1252(static_cast<unsigned char>(*high * 16 + *low))));
  }

  // "\*" marks a destination an older reader may skip; none of them holds letter text.
  void IgnorableDestination() {
    if (!Skipping()) State().destination = Destination::kSkip;
  }

  void Word(const ControlWord& word) {
    if (word.name == "bin") return SkipBinary(word.Or(0));
    if (Skipping()) return;
    if (word.name == "u") return UnicodeCharacter(word.Or(0));
    if (word.name == "uc") {
      State().unicodeFallback = static_cast<int>(std::clamp(word.Or(1), 0L, static_cast<long>(kMaxUnicodeFallback)));
      return;
    }
    switch (State().destination) {
      case Destination::kFontTable: return FontTableWord(word);
      case Destination::kColorTable: return ColorTableWord(word);
      default: return TextWord(word);
    }
  }

  // Binary data is not RTF at all, so it may hold braces and backslashes.
  void SkipBinary(long length) {
    at_ += std::min(static_cast<std::size_t>(std::max(length, 0L)), in_.size() - at_);
  }

  void TextWord(const ControlWord& word) {
    if (Destinations(word.name) || ParagraphWord(word) || CharacterWord(word)) return;
    if (const std::optional<char32_t> symbol = SymbolWord(word.name)) return FallbackOrText(Utf8(*symbol));
    if (word.name == "par" || word.name == "row") return EndParagraph();
    if (word.name == "deff") defaultFont_ = word.Or(0);
  }

  bool Destinations(std::string_view name) {
    GroupState& state = State();
    if (name == "fonttbl") {
      state.destination = Destination::kFontTable;
    } else if (name == "colortbl") {
      state.destination = Destination::kColorTable;
    } else if (name == "pntext" || name == "listtext") {
      if (groups_.size() >= 2) groups_[groups_.size() - 2].paragraph.bullet = true;
      state.destination = Destination::kBulletText;
    } else if (IsSkippedDestination(name)) {
      state.destination = Destination::kSkip;
    } else {
      return false;
    }
    return true;
  }

  bool ParagraphWord(const ControlWord& word) {
    Paragraph& paragraph = State().paragraph;
    const std::string_view name = word.name;
    if (name == "pard") {
      paragraph = Paragraph{};
    } else if (name == "ql" || name == "qc" || name == "qr" || name == "qj") {
      paragraph.alignment = name == "qc"   ? Alignment::kCentre
                            : name == "qr" ? Alignment::kRight
                            : name == "qj" ? Alignment::kJustified
                                           : Alignment::kLeft;
    } else if (name == "li") {
      paragraph.leftIndent = word.Points();
    } else if (name == "ri") {
      paragraph.rightIndent = word.Points();
    } else if (name == "fi") {
      paragraph.firstLineIndent = word.Points();
    } else if (name == "sb") {
      paragraph.spaceBefore = word.Points();
    } else if (name == "sa") {
      paragraph.spaceAfter = word.Points();
    } else if (name == "tx") {
      if (paragraph.tabStops.size() < kMaxTabStops) paragraph.tabStops.push_back(word.Points());
    } else if (name == "ls") {
      paragraph.bullet = word.Or(0) > 0;
    } else {
      return false;
    }
    return true;
  }

  bool CharacterWord(const ControlWord& word) {
    CharFormat& format = State().format;
    const std::string_view name = word.name;
    if (name == "plain") {
      format = CharFormat{};
    } else if (name == "f") {
      format.font = word.Or(0);
    } else if (name == "fs") {
      const long halfPoints = word.Or(kDefaultHalfPoints);
      format.points = static_cast<double>(halfPoints > 0 ? halfPoints : kDefaultHalfPoints) / 2;
    } else if (name == "b") {
      format.bold = word.On();
    } else if (name == "i") {
      format.italic = word.On();
    } else if (IsUnderlineWord(name)) {
      format.underline = word.On();
    } else if (name == "ulnone") {
      format.underline = false;
    } else if (name == "cf") {
      format.color = word.Or(0);
    } else {
      return false;
    }
    return true;
  }

  void FontTableWord(const ControlWord& word) {
    if (word.name == "f") {
      fontNumber_ = word.Or(0);
      fontName_.clear();
    } else {
      Destinations(word.name);  // alternative names and the like are skipped
    }
  }

  void CommitFont() {
    const std::size_t first = fontName_.find_first_not_of(' ');
    if (first != std::string::npos) {
      fonts_[fontNumber_] = fontName_.substr(first, fontName_.find_last_not_of(' ') - first + 1);
    }
    fontName_.clear();
  }

  void ColorTableWord(const ControlWord& word) {
    const auto component = static_cast<std::uint32_t>(std::clamp(word.Or(0), 0L, 255L));
    if (word.name == "red") colorEntry_ = (colorEntry_ & 0xFFFF00) | component;
    if (word.name == "green") colorEntry_ = (colorEntry_ & 0xFF00FF) | (component << 8);
    if (word.name == "blue") colorEntry_ = (colorEntry_ & 0x00FFFF) | (component << 16);
  }

  // \uN gives a signed 16-bit unit, followed by the characters an older reader shows.
  void UnicodeCharacter(long value) {
    const auto unit = static_cast<char32_t>(value < 0 ? value + 0x10000 : value) & 0xFFFF;
    if (unit >= 0xD800 && unit <= 0xDBFF) {
      highSurrogate_ = unit;
    } else if (unit >= 0xDC00 && unit <= 0xDFFF && highSurrogate_ != 0) {
      const char32_t code = 0x10000 + ((highSurrogate_ - 0xD800) << 10) + (unit - 0xDC00);
      highSurrogate_ = 0;
      Emit(Utf8(code));
    } else {
      Emit(Utf8(unit));
    }
    pendingFallback_ = State().unicodeFallback;
  }

  void FallbackOrText(const std::string& text) {
    if (pendingFallback_ > 0) {
      --pendingFallback_;
      return;
    }
    Emit(text);
  }

  // Text for the destination the group is in.
  void Emit(const std::string& text) {
    if (Skipping()) return;
    switch (State().destination) {
      case Destination::kFontTable: return FontNameText(text);
      case Destination::kColorTable:
        if (text == ";") CommitColor();
        return;
      default: return Text(text);
    }
  }

  void FontNameText(const std::string& text) {
    if (text == ";") return CommitFont();
    if (fontName_.size() < kMaxFontName) fontName_ += text;
  }

  void CommitColor() {
    colors_.push_back(colorEntry_);
    colorEntry_ = 0;
  }

  void Text(std::string_view text) {
    if (Skipping() || State().destination != Destination::kText) return;
    if (highSurrogate_ != 0) {
      highSurrogate_ = 0;
      Text(Utf8(kReplacement));
    }
    if (!runText_.empty() && !(runFormat_ == State().format)) EndRun();
    runFormat_ = State().format;
    runText_ += text;
  }

  // Adjacent runs in one format become one, however the file split them.
  void EndRun() {
    if (runText_.empty()) return;
    TextRun run = Resolved(runFormat_);
    run.text = std::move(runText_);
    runText_.clear();
    std::vector<TextRun>& runs = paragraphRuns_;
    if (!runs.empty() && SameFormat(runs.back(), run)) {
      runs.back().text += run.text;
    } else {
      runs.push_back(std::move(run));
    }
  }

  static bool SameFormat(TextRun a, const TextRun& b) {
    a.text = b.text;
    return a == b;
  }

  // A font missing from the table is taken as the default one.
  std::string FontName(long number) const {
    for (const long candidate : {number, defaultFont_}) {
      const auto found = fonts_.find(candidate);
      if (found != fonts_.end()) return found->second;
    }
    return TextRun{}.font;
  }

  TextRun Resolved(const CharFormat& format) const {
    TextRun run;
    run.font = FontName(format.font.value_or(defaultFont_));
    run.points = format.points;
    run.bold = format.bold;
    run.italic = format.italic;
    run.underline = format.underline;
    const bool knownColor = format.color > 0 && static_cast<std::size_t>(format.color) < colors_.size();
    run.color = knownColor ? colors_[static_cast<std::size_t>(format.color)] : 0;
    return run;
  }

  void EndParagraph() {
    if (Skipping() || State().destination != Destination::kText) return;
    EndParagraphWith(State().paragraph);
  }

  void EndParagraphWith(const Paragraph& format) {
    EndRun();
    Paragraph paragraph = format;
    paragraph.runs = std::move(paragraphRuns_);
    paragraphRuns_.clear();
    document_.paragraphs.push_back(std::move(paragraph));
  }

  // Text after the last \par is a paragraph of its own.
  void FinishDocument(const GroupState& state) {
    EndRun();
    if (!paragraphRuns_.empty()) EndParagraphWith(state.paragraph);
  }

  std::string_view in_;
  std::size_t at_ = 0;
  bool ended_ = false;
  std::string error_;
  std::vector<GroupState> groups_;
  std::size_t overflow_ = 0;  // groups opened beyond kMaxDepth and not yet closed
  int pendingFallback_ = 0;
  char32_t highSurrogate_ = 0;

  std::map<long, std::string> fonts_;
  long defaultFont_ = 0;
  long fontNumber_ = 0;
  std::string fontName_;
  std::vector<std::uint32_t> colors_;
  std::uint32_t colorEntry_ = 0;

  RtfDocument document_;
  std::vector<TextRun> paragraphRuns_;
  CharFormat runFormat_;
  std::string runText_;
};

}  // namespace

RtfReadResult ReadRtf(std::string_view rtf) { return Reader(rtf).Read(); }

}  // namespace documents
