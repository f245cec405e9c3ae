#include "documents/envelope.h"

#include <array>

#include "documents/form_head.h"
#include "model/text.h"

namespace documents {
namespace {

constexpr std::string_view kEnvelopeCaption = "Print Envelope";
// The customer's name and address lines start 8 line spacings below the top.
constexpr int kSendToFirstLine = 8;


using Lines = std::array<std::string, 5>;

void DrawLines(platform::PageCanvas& canvas, int x, int y, int spacing, const Lines& lines) {
  for (const std::string& line : lines) {
    canvas.DrawText(x, y, line);
    y += spacing;
  }
}

Lines SendToLines(const model::CustomerRecord& customer, bool shipTo) {
  if (shipTo) {
    return {customer.CustName.str(), customer.ShipAddr1.str(), customer.ShipAddr2.str(), customer.ShipAddr3.str(),
            customer.ShipAddr4.str()};
  }
  return {customer.CustName.str(), customer.BillAddr1.str(), customer.BillAddr2.str(), customer.BillAddr3.str(),
          customer.BillAddr4.str()};
}

void DrawEnvelope(const EnvelopeLayout& layout, const model::CompanyRecord& company,
                  const model::CustomerRecord& customer, platform::PageCanvas& canvas) {
  if (layout.returnAddress) {
    DrawLines(canvas, layout.returnLeft, layout.top, layout.lineSpacing,
              {company.CompanyName.str(), company.CoAddr1.str(), company.CoAddr2.str(), company.CoAddr3.str(),
               company.CoAddr4.str()});
  }
  DrawLines(canvas, layout.sendLeft, layout.top + kSendToFirstLine * layout.lineSpacing, layout.lineSpacing,
            SendToLines(customer, layout.shipTo));
}

}  // namespace

std::optional<EnvelopeLayout> EnvelopeLayoutOf(const model::CompanyRecord& company) {
  const std::optional<int> spacing = model::ParseWholeNumber(company.EnvLineSpacing.raw());
  const std::optional<int> left = model::ParseWholeNumber(company.EnvLeftMargin.raw());
  const std::optional<int> top = model::ParseWholeNumber(company.EnvTopMargin.raw());
  const std::optional<int> sendLeft = model::ParseWholeNumber(company.EnvSendLeft.raw());
  if (!spacing || !left || !top || !sendLeft) return std::nullopt;
  EnvelopeLayout layout;
  layout.lineSpacing = *spacing;
  layout.returnLeft = *left;
  layout.top = *top;
  layout.sendLeft = *sendLeft;
  layout.orientation =
      model::HoldsLetter(company.EnvOrientation, 'L') ? platform::Orientation::kLandscape : platform::Orientation::kPortrait;
  layout.returnAddress = model::IsYes(company.PrintReturnAddress);
  layout.shipTo = model::HoldsLetter(company.EnvAddress, 'S');
  return layout;
}

EnvelopeOutcome PrintEnvelope(const model::CompanyRecord& company, const model::CustomerRecord& customer,
                              platform::PageCanvas& canvas, platform::Dialogs& dialogs) {
  const std::optional<EnvelopeLayout> layout = EnvelopeLayoutOf(company);
  if (!layout) {
    dialogs.inform(kEnvelopeCaption,
                   "The envelope line spacing and margins in the company options must be whole numbers.",
                   platform::Icon::kWarning);
    return EnvelopeOutcome::kBadLayout;
  }
  // The company sets no envelope size; #10 is the usual business envelope.
  if (!canvas.BeginDocument("Envelope", layout->orientation, platform::PageSize::kEnvelope10)) {
    return EnvelopeOutcome::kPrintFailed;
  }
  canvas.SetFont(FontSpecOf(company.EnvelopeFont));
  DrawEnvelope(*layout, company, customer, canvas);
  return canvas.EndDocument() ? EnvelopeOutcome::kPrinted : EnvelopeOutcome::kPrintFailed;
}

std::string EnvelopeSentText(const model::CustomerRecord& customer, std::string_view destination) {
  return "Envelope for " + std::string(model::TrimBlanks(customer.CustName.str())) + " sent to " +
         std::string(destination) + ".";
}

}  // namespace documents
