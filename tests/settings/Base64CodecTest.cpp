#include <gtest/gtest.h>

#include <random>

#include "settings/Base64Codec.h"
#include "settings/GridKeyHash.h"
#include "settings/UGridUtils.h"

namespace {

using namespace settings;

std::string RandomBytes(std::size_t n, unsigned seed) {
  std::mt19937 engine(seed);
  std::string bytes(n, '\0');
  for (char& c : bytes) c = static_cast<char>(engine() & 0xFF);
  return bytes;
}

struct TSizeCase {
  std::size_t bytes;
  std::size_t encodedSize;
  std::vector<std::size_t> lineLengths;
};

void PrintTo(const TSizeCase& c, std::ostream* os) { *os << c.bytes << " bytes"; }

class Base64SizeTest : public testing::TestWithParam<TSizeCase> {};

TEST_P(Base64SizeTest, CutsLinesOf76CharactersWithoutATrailingBreak) {
  std::string text = Base64Encode(RandomBytes(GetParam().bytes, 7));
  EXPECT_EQ(text.size(), GetParam().encodedSize);
  EXPECT_EQ(Base64EncodedSize(GetParam().bytes), GetParam().encodedSize);
  std::vector<std::size_t> lineLengths;
  for (std::size_t start = 0; start < text.size();) {
    std::size_t end = text.find("\r\n", start);
    lineLengths.push_back((end == std::string::npos ? text.size() : end) - start);
    start = end == std::string::npos ? text.size() : end + 2;
  }
  EXPECT_EQ(lineLengths, GetParam().lineLengths);
}

INSTANTIATE_TEST_SUITE_P(Sizes, Base64SizeTest,
                         testing::Values(TSizeCase{0, 0, {}}, TSizeCase{1, 4, {4}},
                                         TSizeCase{2, 4, {4}}, TSizeCase{3, 4, {4}},
                                         TSizeCase{57, 76, {76}}, TSizeCase{58, 82, {76, 4}},
                                         TSizeCase{114, 154, {76, 76}},
                                         TSizeCase{115, 160, {76, 76, 4}}));

struct TCodecCase {
  std::string bytes;
  std::string text;
};

void PrintTo(const TCodecCase& c, std::ostream* os) { *os << '"' << c.text << '"'; }

class Base64VectorTest : public testing::TestWithParam<TCodecCase> {};

TEST_P(Base64VectorTest, EncodesAndDecodesTheStandardVectors) {
  EXPECT_EQ(Base64Encode(GetParam().bytes), GetParam().text);
  EXPECT_EQ(Base64Decode(GetParam().text), GetParam().bytes);
}

INSTANTIATE_TEST_SUITE_P(Rfc4648, Base64VectorTest,
                         testing::Values(TCodecCase{"", ""}, TCodecCase{"f", "Zg=="},
                                         TCodecCase{"fo", "Zm8="}, TCodecCase{"foo", "Zm9v"},
                                         TCodecCase{"foob", "Zm9vYg=="},
                                         TCodecCase{"fooba", "Zm9vYmE="},
                                         TCodecCase{"foobar", "Zm9vYmFy"},
                                         TCodecCase{std::string("\0\xff\xfe", 3), "AP/+"}));

struct TDecodeCase {
  const char* text;
  std::string bytes;
};

void PrintTo(const TDecodeCase& c, std::ostream* os) { *os << testing::PrintToString(std::string(c.text)); }

class Base64DecodeTest : public testing::TestWithParam<TDecodeCase> {};

TEST_P(Base64DecodeTest, SkipsForeignCharactersAndShortTails) {
  EXPECT_EQ(Base64Decode(GetParam().text), GetParam().bytes);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, Base64DecodeTest,
    testing::Values(TDecodeCase{"Zm9v\r\nYmFy", "foobar"}, TDecodeCase{"Zm9v YmFy\t", "foobar"},
                    TDecodeCase{"*Zm*9v-YmFy!", "foobar"},
                    TDecodeCase{"Zm9vYmE", "fooba"},  // last group of 3: 2 bytes
                    TDecodeCase{"Zm9vYg", "foob"},    // last group of 2: 1 byte
                    TDecodeCase{"Zm9vY", "foo"},      // a single leftover character: nothing
                    TDecodeCase{"\r\n==", ""}, TDecodeCase{"", ""},
                    TDecodeCase{"\xc3\xa9Zg==", "f"}));

TEST(Base64RoundTripTest, LineBreaksMakeNoDifference) {
  for (std::size_t n : {56u, 57u, 58u, 170u, 171u, 1000u}) {
    std::string bytes = RandomBytes(n, static_cast<unsigned>(n));
    std::string text = Base64Encode(bytes);
    std::string joined;
    for (char c : text)
      if (c != '\r' && c != '\n') joined += c;
    EXPECT_EQ(Base64Decode(text), bytes) << n;
    EXPECT_EQ(Base64Decode(joined), bytes) << n;
  }
}

TEST(Base64RoundTripTest, EveryByteValue) {
  std::string bytes;
  for (int i = 0; i < 256; ++i) bytes += static_cast<char>(i);
  EXPECT_EQ(Base64Decode(Base64Encode(bytes)), bytes);
}

struct THashCase {
  std::string key;
  std::uint32_t hash;
};

void PrintTo(const THashCase& c, std::ostream* os) { *os << testing::PrintToString(c.key); }

class GridKeyHashTest : public testing::TestWithParam<THashCase> {};

TEST_P(GridKeyHashTest, IsTheElfHashOfTheKeysBytes) {
  EXPECT_EQ(GridKeyHash(GetParam().key), GetParam().hash);
  EXPECT_EQ(GridElementName(GetParam().key), "GRID_" + std::to_string(GetParam().hash));
}

INSTANTIATE_TEST_SUITE_P(Keys, GridKeyHashTest,
                         testing::Values(THashCase{"abc", 26499}, THashCase{"A", 65},
                                         THashCase{"ABCDEFGHIJ", 144632490}, THashCase{"", 0},
                                         THashCase{"\xc3\xa9", 0xC3 * 16 + 0xA9},
                                         THashCase{"AQ", 1121}, THashCase{"BA", 1121}));

TEST(GridKeyHashTest, StaysBelow2To28ForLongKeys) {
  for (unsigned seed = 1; seed <= 50; ++seed) EXPECT_LT(GridKeyHash(RandomBytes(40, seed)), 1u << 28);
}

}  // namespace
