#include <gtest/gtest.h>

#include "api/query.h"

namespace ziwei::api {
namespace {

TEST(DecodeQuery, ReadsPiecesInOrderWithEscapesAndBlanks) {
  const DecodedQuery decoded = decodeQuery(
      "where=%E5%91%BD%E5%AE%AE+has+%e7%b4%ab%e5%be%ae&&leap&name=a%2Bb%26c%3D&where=x=y&");
  ASSERT_FALSE(decoded.fault) << *decoded.fault;
  const Parameters expected{
      {"where", "命宮 has 紫微"}, {"leap", ""}, {"name", "a+b&c="}, {"where", "x=y"}};
  EXPECT_EQ(decoded.parameters, expected);
  EXPECT_TRUE(decodeQuery("").parameters.empty());
  EXPECT_EQ(decodeQuery("a=").parameters, (Parameters{{"a", ""}}));
}

TEST(DecodeQuery, RefusesWhatCannotBeRead) {
  const std::pair<std::string, std::string> cases[] = {
      {"a=%4", "a: \"%\" must be followed by two hex digits (at byte 1 of a)"},
      {"a=1&b=x%zz", "b: \"%\" must be followed by two hex digits (at byte 2 of b)"},
      {"a%=1", "parameter 1: \"%\" must be followed by two hex digits (at byte 2 of parameter 1)"},
      {"name=%FF", "name is not UTF-8 once decoded"},
      {"=1", "parameter 1: the name is empty (give NAME=VALUE)"},
  };
  for (const auto& [query, fault] : cases) {
    const DecodedQuery decoded = decodeQuery(query);
    ASSERT_TRUE(decoded.fault) << query;
    EXPECT_EQ(*decoded.fault, fault) << query;
    EXPECT_TRUE(decoded.parameters.empty()) << query;
  }
  EXPECT_TRUE(decodeQuery("a%0Ab=1").fault);  // a line feed in a name
  std::string many;
  for (std::size_t i = 0; i <= kMostParameters; ++i) many += "a=1&";
  EXPECT_EQ(decodeQuery(many).fault, "too many parameters (at most 256)");
  many.resize(many.size() - 4);
  EXPECT_FALSE(decodeQuery(many).fault);
}

TEST(EncodeQuery, GivesTheParametersBack) {
  const Parameters parameters{
      {"name", "王 小明&=+%"}, {"where", "命宮 has 紫微"}, {"leap", ""}, {"a-b.c_d~", "\x01\x7f"}};
  EXPECT_EQ(decodeQuery(encodeQuery(parameters)).parameters, parameters);
  EXPECT_EQ(encodeQuery({{"a b", "&=+~"}, {"c", ""}}), "a%20b=%26%3D%2B~&c=");
}

}  // namespace
}  // namespace ziwei::api
