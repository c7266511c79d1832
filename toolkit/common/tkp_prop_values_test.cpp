#include "toolkit/common/tkp_prop_values.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "platform/classlib/cmemfile.h"
#include "toolkit/common/tkp_prop_exchange.h"

namespace {

// Every value a variant property holds, one of each type.
std::vector<CTKPVariant> EveryVariant() {
  return {CTKPVariant(), CTKPVariant::Null{}, std::int16_t{-2}, std::int32_t{70000}, 1.5f, -0.25,
          CTKPVariant::Currency{123456789012}, CTKPVariant::Date{45000.75}, std::u16string(u"a\0\U0001F600", 4),
          true, std::uint8_t{200}};
}

// Loads from the bytes what exchange reads, through an archive exchange; the cause of a refusal, or none.
template <class Exchange>
int LoadCause(std::vector<BYTE> bytes, Exchange exchange) {
  CMemFile file(bytes.data(), static_cast<UINT>(bytes.size()));
  try {
    CArchive ar(&file, CArchive::load);
    CTKPPropExchangeArchive px(ar);
    exchange(px);
    return CArchiveException::none;
  } catch (CArchiveException* e) {
    const int cause = e->m_cause;
    e->Delete();
    return cause;
  }
}

TEST(PropValues, DatesAndVariantsComeBackThroughTheArchiveExchangeAndABstrIsNotStored) {
  CTKPDateTime date(45000.5), nullDate(0, CTKPDateTime::null);
  std::u16string text(u"R&D\0notes", 9);
  std::vector<CTKPVariant> variants = EveryVariant();
  CMemFile file;
  {
    CArchive ar(&file, CArchive::store);
    CTKPPropExchangeArchive px(ar);
    EXPECT_TRUE(px.ExchangeProp(_T("Date"), tkpDate, &date, nullptr));
    EXPECT_TRUE(px.ExchangeProp(_T("Null"), tkpDate, &nullDate, nullptr));
    EXPECT_TRUE(px.ExchangeProp(_T("Text"), tkpBstr, &text, nullptr));
    for (CTKPVariant& variant : variants) EXPECT_TRUE(px.ExchangeProp(_T("Value"), tkpVariant, &variant, nullptr));
    ar.Close();
  }
  file.SeekToBegin();
  CArchive ar(&file, CArchive::load);
  CTKPPropExchangeArchive px(ar);
  CTKPDateTime gotDate, gotNull;
  ASSERT_TRUE(px.ExchangeProp(_T("Date"), tkpDate, &gotDate, nullptr));
  ASSERT_TRUE(px.ExchangeProp(_T("Null"), tkpDate, &gotNull, nullptr));
  std::u16string gotText(u"kept");
  ASSERT_TRUE(px.ExchangeProp(_T("Text"), tkpBstr, &gotText, nullptr));
  EXPECT_EQ(gotDate, date);
  EXPECT_EQ(gotNull.m_status, CTKPDateTime::null);
  EXPECT_EQ(gotText, u"kept");  // read nothing, as nothing was written
  for (const CTKPVariant& variant : variants) {
    CTKPVariant got(std::int32_t{-1});
    ASSERT_TRUE(px.ExchangeProp(_T("Value"), tkpVariant, &got, nullptr));
    EXPECT_EQ(got.GetType(), variant.GetType());
    EXPECT_EQ(got, variant);
  }
}

TEST(PropValues, ArchiveFormsAreLittleEndianWithTheVariantNumberFirst) {
  EXPECT_EQ(TKPArchiveBytes(CTKPDateTime(1.0)), (std::vector<BYTE>{0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0xF0, 0x3F}));
  EXPECT_EQ(TKPArchiveBytes(CTKPVariant(std::int32_t{0x01020304})), (std::vector<BYTE>{3, 0, 4, 3, 2, 1}));
  EXPECT_EQ(TKPArchiveBytes(CTKPVariant(true)), (std::vector<BYTE>{11, 0, 0xFF, 0xFF}));
  EXPECT_EQ(TKPArchiveBytes(CTKPVariant(std::u16string(u"Hi"))), (std::vector<BYTE>{8, 0, 2, 0, 'H', 0, 'i', 0}));
  EXPECT_EQ(TKPArchiveBytes(CTKPVariant(CTKPVariant::Null{})), (std::vector<BYTE>{1, 0}));
}

TEST(PropValues, DamagedArchiveValuesAreRefused) {
  const auto variant = [](CTKPPropExchange& px) {
    CTKPVariant v;
    px.ExchangeProp(_T("Value"), tkpVariant, &v, nullptr);
  };
  const auto date = [](CTKPPropExchange& px) {
    CTKPDateTime d;
    px.ExchangeProp(_T("Date"), tkpDate, &d, nullptr);
  };
  const auto text = [](CTKPPropExchange& px) {
    std::u16string t;
    px.ExchangeProp(_T("Text"), tkpBstr, &t, nullptr);
  };
  // Unknown variant types: a SAFEARRAY, a dispatch pointer, a by-reference long.
  for (WORD type : {WORD{0x2003}, WORD{9}, WORD{0x4003}, WORD{30}}) {
    EXPECT_EQ(LoadCause({static_cast<BYTE>(type), static_cast<BYTE>(type >> 8), 1, 2, 3, 4}, variant),
              CArchiveException::badClass) << type;
  }
  EXPECT_EQ(LoadCause({3, 0, 1, 2}, variant), CArchiveException::endOfFile);
  EXPECT_EQ(LoadCause({8, 0, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x7F, 'a', 0}, variant), CArchiveException::endOfFile);
  // A variant date that is not a day of the years 100 to 9999.
  std::vector<BYTE> farDate = TKPArchiveBytes(CTKPVariant(CTKPVariant::Date{3000000.0}));
  EXPECT_EQ(LoadCause(farDate, variant), CArchiveException::generic);
  // Date-times: an unknown status, a valid date that is not a number; an invalid one keeps its value.
  std::vector<BYTE> status3 = TKPArchiveBytes(CTKPDateTime(1.0));
  status3[0] = 3;
  EXPECT_EQ(LoadCause(status3, date), CArchiveException::generic);
  EXPECT_EQ(LoadCause(TKPArchiveBytes(CTKPDateTime(std::nan(""))), date), CArchiveException::generic);
  EXPECT_EQ(LoadCause(TKPArchiveBytes(CTKPDateTime(-657435.0)), date), CArchiveException::generic);
  EXPECT_EQ(LoadCause(TKPArchiveBytes(CTKPDateTime(-657434.0)), date), CArchiveException::none);
  EXPECT_EQ(LoadCause(TKPArchiveBytes(CTKPDateTime(1e300, CTKPDateTime::invalid)), date), CArchiveException::none);
  EXPECT_EQ(LoadCause({8, 0, 5, 0, 'x', 0}, variant), CArchiveException::endOfFile);  // a short text
  EXPECT_EQ(LoadCause({5, 0, 'x', 0}, text), CArchiveException::none);  // a BSTR property reads nothing
}

TEST(PropValues, StoredBytesHoldExactlyOneValueAndDefaultsCompareByType) {
  std::vector<BYTE> bytes = TKPArchiveBytes(CTKPVariant(2.5));
  CTKPVariant got;
  ASSERT_TRUE(TKPFromArchiveBytes(bytes.data(), bytes.size(), &got));
  EXPECT_EQ(got, CTKPVariant(2.5));
  bytes.push_back(0);
  EXPECT_FALSE(TKPFromArchiveBytes(bytes.data(), bytes.size(), &got));
  EXPECT_FALSE(TKPFromArchiveBytes(bytes.data(), 3, &got));
  CTKPVariant five2(std::int16_t{5}), five4(std::int32_t{5});
  EXPECT_FALSE(TKPPropValuesEqual(tkpVariant, &five2, &five4));  // the type counts
  CTKPDateTime valid(2.0), null(2.0, CTKPDateTime::null);
  EXPECT_FALSE(TKPPropValuesEqual(tkpDate, &valid, &null));  // and the status
  ASSERT_TRUE(TKPPropCopyValue(tkpDate, &valid, &null));
  EXPECT_EQ(valid, null);
}

}  // namespace
