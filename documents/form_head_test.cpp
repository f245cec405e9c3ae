#include "documents/form_head.h"

#include <gtest/gtest.h>

#include "documents/testing/picture_files.h"
#include "model/company_defaults.h"
#include "platform/testing/recording_canvas.h"
#include "platform/testing/temp_folder.h"

namespace documents {
namespace {

using platform::testing::DrawnShape;
using platform::testing::RecordingCanvas;

using testing::BmpHeader;
using testing::PngHeader;
using testing::WriteFile;

class FormHeadTest : public ::testing::Test {
 protected:
  FormHeadTest() {
    company_ = model::StarterCompany();
    company_.CompanyName = "Harbor Supply";
    company_.CoAddr1 = "1 Main St";
    company_.CoAddr3 = "Portsmouth";
    company_.TopMargin = "50";
    company_.LeftMargin = "50";  // text starts 100 dots further in, at 150
  }
  int Head() { return DrawFormHead(canvas_, company_, FormGeometryOf(company_), lines_); }

  platform::testing::TempDir folder_;
  model::CompanyRecord company_;
  std::vector<HeadLine> lines_{{"INVOICE", model::kCaptionFont}, {"Number: 1043", model::kBodyFont, false}};
  RecordingCanvas canvas_;
};

TEST_F(FormHeadTest, CompanyBlockBesideTheFormsLines) {
  const int bottom = Head();
  // Two lines below the top margin: the name, then the address lines that hold text.
  EXPECT_EQ(canvas_.Texts(), (std::vector<std::string>{"Harbor Supply", "1 Main St", "Portsmouth", "INVOICE",
                                                       "Number: 1043"}));
  EXPECT_EQ(canvas_.Find("Harbor Supply")->y, 250);
  EXPECT_EQ(canvas_.Find("INVOICE")->y, 250);
  EXPECT_EQ(canvas_.Find("Number: 1043")->x, HeadDetailsX(canvas_));
  EXPECT_EQ(bottom, 250 + 120 + 2 * 100 + 100);
}

TEST_F(FormHeadTest, LetterheadAndOmittedCompanyLeaveTheirSpace) {
  company_.LetterheadStyle = true;
  Head();
  EXPECT_EQ(canvas_.Find("Harbor Supply"), nullptr);
  EXPECT_EQ(canvas_.Find("INVOICE")->y, 250 + 9 * 100);

  canvas_ = RecordingCanvas();
  company_.LetterheadStyle = false;
  company_.OmitCompanyOnForms = "Y";
  EXPECT_EQ(Head(), 250 + 8 * 100 + 100);
  EXPECT_EQ(canvas_.Find("Harbor Supply"), nullptr);
  EXPECT_EQ(canvas_.Find("INVOICE")->y, 250);
}

TEST_F(FormHeadTest, LogoAtItsScreenSizeWithTheCompanyBesideIt) {
  const std::string logo = (folder_.path() / "logo.bmp").string();
  WriteFile(logo, BmpHeader(96, -48));  // one inch by half an inch
  company_.PrintLogo = true;
  company_.LogoFile = logo;
  Head();
  ASSERT_EQ(canvas_.shapes.size(), 1u);
  const DrawnShape& picture = canvas_.shapes[0];
  EXPECT_EQ(picture.kind, DrawnShape::Kind::kPicture);
  EXPECT_EQ(std::tie(picture.x1, picture.y1, picture.x2, picture.y2), std::make_tuple(150, 250, 600, 300));
  EXPECT_EQ(canvas_.Find("Harbor Supply")->x, 150 + 600 + 100);

  canvas_ = RecordingCanvas();
  company_.LogoFile = (folder_.path() / "gone.bmp").string();
  Head();
  EXPECT_TRUE(canvas_.shapes.empty());
  EXPECT_EQ(canvas_.Find("Harbor Supply")->x, 150);
}

TEST_F(FormHeadTest, PictureSizeOfBmpAndPngOnly) {
  const auto path = [&](const char* name) { return (folder_.path() / name).string(); };
  WriteFile(path("a.bmp"), BmpHeader(120, 80));
  WriteFile(path("b.bmp"), BmpHeader(120, -80));
  WriteFile(path("c.png"), PngHeader(200, 50));
  WriteFile(path("d.jpg"), std::string("\xFF\xD8\xFF\xE0", 4) + std::string(30, '\0'));
  WriteFile(path("e.bmp"), "BM");
  WriteFile(path("f.bmp"), BmpHeader(0, 80));
  const std::tuple<const char*, int, int> readable[] = {{"a.bmp", 120, 80}, {"b.bmp", 120, 80}, {"c.png", 200, 50}};
  for (const auto& [name, width, height] : readable) {
    const std::optional<PictureSize> size = PictureSizeOf(path(name));
    ASSERT_TRUE(size) << name;
    EXPECT_EQ(std::tie(size->width, size->height), std::tie(width, height)) << name;
  }
  for (const char* name : {"d.jpg", "e.bmp", "f.bmp", "missing.bmp"}) EXPECT_FALSE(PictureSizeOf(path(name))) << name;
}

}  // namespace
}  // namespace documents
