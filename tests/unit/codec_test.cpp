#include <gtest/gtest.h>

#include "codec/hex_codec.h"

namespace qx {
namespace {

const std::string kPwrOnCr = std::string("PWR ON") + kCrPlaceholder;
const std::string kCtrlPwrCr = std::string(1, kOtherPlaceholder) + "PWR" + kCrPlaceholder;

TEST(NormalizeHex, Cases) {
  struct Case {
    std::string in, result, arg_after;
  };
  const Case cases[] = {
      {"  50 57 52 20 4f 4e d  ", "50 57 52 20 4F 4E 0D ", "50 57 52 20 4F 4E D"},
      {"2   50", "02 50 ", "2   50"},
      {"505", "", "505"},
      {"50,57", "", "50,57"},
      {"5G", "", "5G"},
      {"   ", "", ""},
      {"", "", ""},
      {"A 5", "0A 05 ", "A 5"},
      {"ff 0", "FF 00 ", "FF 0"},
      {"41\t42", "", "41\t42"},
      {"1 234", "", "1 234"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE("'" + c.in + "'");
    std::string arg = c.in;
    const std::string r = NormalizeHex(arg);
    EXPECT_EQ(r, c.result);
    EXPECT_EQ(arg, c.arg_after);
    EXPECT_EQ(r.size() % 3, 0u) << "three characters per byte";
  }
}

TEST(HexToText, Cases) {
  struct Case {
    std::string in, result, arg_after;
  };
  const Case cases[] = {
      {"50 57 52 20 4F 4E 0D ", kPwrOnCr, "50 57 52 20 4F 4E 0D "},
      {"02 50 57 52 0D", kCtrlPwrCr, "02 50 57 52 0D "},
      {"07 41 08 7f 80 ff 00", std::string("\7A\7\7\7\7\7"), "07 41 08 7F 80 FF 00 "},
      {"41 0D 42", std::string("A\10B"), "41 0D 42 "},
      {"GG", "", ""},
      {"  ", "", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.in);
    std::string arg = c.in;
    EXPECT_EQ(HexToText(arg), c.result);
    EXPECT_EQ(arg, c.arg_after);
  }
}

TEST(HexToBytes, FillsTheBufferAndBytesToHexGivesItBack) {
  CodecBuf buf{};
  std::int16_t len = 0;
  std::string hex = " 50 57 52 20 4f 4e d";
  HexToBytes(hex, buf, len);
  EXPECT_EQ(hex, "50 57 52 20 4F 4E 0D ");
  ASSERT_EQ(len, 7);
  EXPECT_EQ(buf[0], 0x50);
  EXPECT_EQ(buf[6], 0x0D);
  EXPECT_EQ(BytesToHex(buf, len), "50 57 52 20 4F 4E 0D ");

  hex = "5G";
  HexToBytes(hex, buf, len);
  EXPECT_EQ(len, 0);
  EXPECT_EQ(hex, "");
  hex = "";
  HexToBytes(hex, buf, len);
  EXPECT_EQ(len, 0);
  EXPECT_EQ(BytesToHex(buf, len), "");
}

TEST(HexToBytes, KeepsTheFirst75Bytes) {
  std::string hex;
  for (int i = 0; i < 80; ++i) hex += std::to_string(10 + i % 90) + " ";
  CodecBuf buf{};
  std::int16_t len = 0;
  HexToBytes(hex, buf, len);
  EXPECT_EQ(len, 75);
  EXPECT_EQ(buf[74], 0x84);  // the 75th group, "84"
  EXPECT_EQ(BytesToHex(buf, 80).size(), 75u * 3) << "a count past the buffer is not followed";
  EXPECT_EQ(BytesToHex(buf, -1), "");
}

// Extract the store from a hex command, then turn display texts back into hex with it.
TEST(TextToHex, PlaceholdersTakeTheStoredBytes) {
  struct Case {
    std::string store_hex;  // command the display-on store is extracted from
    std::vector<std::uint8_t> store;
    std::string text, result;
  };
  const Case cases[] = {
      {"50 57 52 20 4F 4E 0D ", {13}, kPwrOnCr, "50 57 52 20 4F 4E 0D "},
      {"02 50 57 52 0D ", {2, 13}, kCtrlPwrCr, "02 50 57 52 0D "},
      // A placeholder ending the text becomes the carriage return the store ends with.
      {"02 50 57 52 0D ", {2, 13}, std::string("PWR\10"), "50 57 52 0D "},
      {"02 50 57 52 0D ", {2, 13}, std::string("\7PWR"), "02 50 57 52 "},
      // Bytes 7 and 8 are stored like any control byte and come back unchanged.
      {"07 41 08 ", {7, 8}, std::string("\7A\7"), "07 41 08 "},
      // A carriage return in the middle comes back in order.
      {"41 0D 42 00 ", {13, 0}, std::string("A\10B\7"), "41 0D 42 00 "},
      // No placeholders: the store plays no part.
      {"02 0D ", {2, 13}, "AB", "41 42 "},
      {"02 0D ", {2, 13}, "", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.store_hex + " / " + c.result);
    CtrlStores stores;
    CodecBuf buf{};
    std::int16_t len = 0;
    std::string hex = c.store_hex;
    ExtractOnCtrl(hex, stores, buf, len);
    EXPECT_EQ(std::vector<std::uint8_t>(stores.on_ctrl.bytes.begin(),
                                        stores.on_ctrl.bytes.begin() + stores.on_ctrl.len),
              c.store);
    EXPECT_EQ(TextToHex(c.text, kDisplayOn, stores), c.result);
    EXPECT_EQ(stores.off_ctrl.len, 0) << "the other store is untouched";
  }
}

TEST(TextToHex, EachCommandUsesItsOwnStore) {
  CtrlStores stores;
  CodecBuf buf{};
  std::int16_t len = 0;
  std::string on = "01 41 ", off = "02 41 ";
  ExtractOnCtrl(on, stores, buf, len);
  ExtractOffCtrl(off, stores, buf, len);
  EXPECT_EQ(TextToHex("\7A", kDisplayOn, stores), "01 41 ");
  EXPECT_EQ(TextToHex("\7A", kDisplayOff, stores), "02 41 ");
}

TEST(ExtractCtrl, InvalidHexEmptiesTheCommandAndTheStoreCount) {
  CtrlStores stores;
  CodecBuf buf{};
  std::int16_t len = 0;
  std::string hex = "01 02 03";
  ExtractOffCtrl(hex, stores, buf, len);
  EXPECT_EQ(stores.off_ctrl.len, 3);
  hex = "01 XY";
  ExtractOffCtrl(hex, stores, buf, len);
  EXPECT_EQ(hex, "");
  EXPECT_EQ(stores.off_ctrl.len, 0);
  EXPECT_EQ(stores.off_ctrl.bytes[2], 3) << "entries past the count keep their old bytes";
}

TEST(TextToHex, MorePlaceholdersThanTheStoreHoldsHaveNoHexForm) {
  CtrlStores stores;
  stores.on_ctrl.len = 75;
  std::string zeros;
  for (int i = 0; i < 75; ++i) zeros += "00 ";
  EXPECT_EQ(TextToHex(std::string(75, '\7'), kDisplayOn, stores), zeros);
  EXPECT_EQ(TextToHex(std::string(76, '\7'), kDisplayOn, stores), "");
}

}  // namespace
}  // namespace qx
