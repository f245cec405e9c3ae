#include "documents/label_layout.h"

#include <gtest/gtest.h>

#include "platform/testing/temp_folder.h"

namespace documents {
namespace {

using platform::testing::TempDir;

LabelLayout ThreeAcross() {
  LabelLayout layout;
  layout.description = "Avery 3 across";
  layout.leftMargin = "120";
  layout.topMargin = "300";
  layout.columns = "3";
  layout.rows = "10";
  layout.labelWidth = "1575";
  layout.labelHeight = "600";
  layout.font = {"Courier New", 11, 0x00112233, true, false, true, false};
  layout.useShipping = true;
  layout.returnAddress = true;
  layout.bitmapName = "C:\\Logos\\anchor.bmp";
  layout.printLine = true;
  layout.lineWidth = "2";
  layout.sendToCaption = "Send To:";
  return layout;
}

// The string of `text` as stored at `offset`: its length byte, then the characters.
void ExpectStringAt(const std::string& bytes, std::size_t offset, std::string_view text, std::size_t capacity) {
  SCOPED_TRACE(offset);
  EXPECT_EQ(static_cast<unsigned char>(bytes[offset]), text.size());
  EXPECT_EQ(bytes.substr(offset + 1, text.size()), text);
  EXPECT_EQ(bytes.substr(offset + 1 + text.size(), capacity - text.size()), std::string(capacity - text.size(), '\0'));
}

void ExpectZeroAt(const std::string& bytes, std::size_t offset, std::size_t count) {
  EXPECT_EQ(bytes.substr(offset, count), std::string(count, '\0')) << offset;
}

TEST(LabelLayoutFile, EveryFieldAtItsOffsetWithTheReturnAddressOn) {
  const std::string bytes = EncodeLabelLayout(ThreeAcross());
  ASSERT_EQ(bytes.size(), 444u);
  ExpectStringAt(bytes, 0, "Avery 3 across", 50);
  ExpectStringAt(bytes, 51, "120", 3);
  ExpectStringAt(bytes, 55, "300", 3);
  ExpectStringAt(bytes, 59, "3", 1);
  ExpectStringAt(bytes, 61, "10", 2);
  ExpectStringAt(bytes, 64, "1575", 4);
  ExpectStringAt(bytes, 69, "600", 4);
  ExpectStringAt(bytes, 74, "Courier New", 32);
  ExpectZeroAt(bytes, 107, 1);
  EXPECT_EQ(bytes.substr(108, 4), std::string("\x0b\0\0\0", 4));
  EXPECT_EQ(bytes.substr(112, 4), std::string("\x33\x22\x11\0", 4));
  EXPECT_EQ(bytes[116], 1 | 4);
  EXPECT_EQ(bytes[117], 1);
  EXPECT_EQ(bytes[118], 1);
  ExpectStringAt(bytes, 119, "C:\\Logos\\anchor.bmp", 255);
  ExpectZeroAt(bytes, 375, 51);
  EXPECT_EQ(bytes[426], 1);
  ExpectStringAt(bytes, 427, "2", 1);
  ExpectZeroAt(bytes, 429, 2);
  ExpectStringAt(bytes, 431, "Send To:", 10);
  ExpectZeroAt(bytes, 442, 2);
}

TEST(LabelLayoutFile, ReturnAddressOffStoresABlankBitmapAndNoLine) {
  LabelLayout layout = ThreeAcross();
  layout.returnAddress = false;
  const std::string bytes = EncodeLabelLayout(layout);
  EXPECT_EQ(bytes[118], 0);
  ExpectStringAt(bytes, 119, " ", 255);
  EXPECT_EQ(bytes[426], 0);
}

TEST(LabelLayoutFile, ReadsBackWhatWasWritten) {
  TempDir folder;
  const auto path = folder.path() / "SHEET.LBL";
  for (bool returnAddress : {true, false}) {
    LabelLayout layout = ThreeAcross();
    layout.returnAddress = returnAddress;
    ASSERT_TRUE(WriteLabelLayout(path, layout));
    LabelLayout read;
    ASSERT_TRUE(ReadLabelLayout(path, read));
    if (!returnAddress) {
      layout.bitmapName = " ";
      layout.printLine = false;
    }
    EXPECT_EQ(read, layout);
  }
}

TEST(LabelLayoutFile, ShortLongAndOverlongFieldsAreRefused) {
  const std::string good = EncodeLabelLayout(ThreeAcross());
  std::string error;
  EXPECT_FALSE(DecodeLabelLayout(good.substr(0, 443), error));
  EXPECT_EQ(error, "holds 443 bytes where a label layout has 444.");
  EXPECT_FALSE(DecodeLabelLayout(good + '\0', error));
  EXPECT_FALSE(DecodeLabelLayout("", error));
  for (std::size_t lengthByte : {0u, 51u, 55u, 59u, 61u, 64u, 69u, 74u, 427u, 431u}) {
    std::string damaged = good;
    damaged[lengthByte] = '\xff';
    EXPECT_FALSE(DecodeLabelLayout(damaged, error)) << lengthByte;
    EXPECT_EQ(error, "has a value longer than its place in the layout.");
  }
}

TEST(LabelLayoutFile, ADamagedFileIsNamedInTheMessage) {
  TempDir folder;
  const auto path = folder.path() / "BROKEN.LBL";
  ASSERT_TRUE(model::WriteWholeFile(path, "not a layout"));
  LabelLayout layout = ThreeAcross();
  const model::FileOutcome read = ReadLabelLayout(path, layout);
  EXPECT_FALSE(read);
  EXPECT_EQ(read.error, "The label layout file \"" + path.string() + "\" holds 12 bytes where a label layout has 444.");
  EXPECT_EQ(layout, ThreeAcross());
}

TEST(LastLayoutFile, HoldsThePathInARecordOf256Bytes) {
  TempDir folder;
  const auto layout = folder.path() / "SHEET.LBL";
  ASSERT_TRUE(WriteLabelLayout(layout, ThreeAcross()));
  ASSERT_TRUE(WriteLastLayoutPath(folder.path(), layout));
  std::string bytes;
  ASSERT_TRUE(model::ReadWholeFile(folder.path() / "Lastlbl.DAT", bytes));
  ASSERT_EQ(bytes.size(), 256u);
  EXPECT_EQ(static_cast<unsigned char>(bytes[0]), layout.string().size());
  std::filesystem::path found;
  EXPECT_EQ(ReadLastLayoutPath(folder.path(), found), LastLayout::kFound);
  EXPECT_EQ(found, layout);
}

TEST(LastLayoutFile, APathThatNoLongerExistsDeletesIt) {
  TempDir folder;
  ASSERT_TRUE(WriteLastLayoutPath(folder.path(), folder.path() / "GONE.LBL"));
  std::filesystem::path found;
  EXPECT_EQ(ReadLastLayoutPath(folder.path(), found), LastLayout::kGone);
  EXPECT_FALSE(std::filesystem::exists(folder.path() / "Lastlbl.DAT"));
  EXPECT_EQ(ReadLastLayoutPath(folder.path(), found), LastLayout::kNone);
}

TEST(LabelDatCopy, OverwritesAnOlderCopy) {
  TempDir folder;
  ASSERT_TRUE(model::WriteWholeFile(folder.path() / "Label.Dat", "old"));
  const std::string bytes = EncodeLabelLayout(ThreeAcross());
  ASSERT_TRUE(CopyLayoutToLabelDat(folder.path(), bytes));
  std::string copied;
  ASSERT_TRUE(model::ReadWholeFile(folder.path() / "Label.Dat", copied));
  EXPECT_EQ(copied, bytes);
}

}  // namespace
}  // namespace documents
