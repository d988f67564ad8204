#include "tmxparser/xml_nesting.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// Deepest nesting the scanner reports: the smallest limit it does not flag.
std::size_t Depth(const std::string& xml) {
    std::size_t offset = 0;
    for (std::size_t limit = 0;; ++limit) {
        if (!TmxParser::NestingExceeds(xml.data(), xml.size(), limit, offset)) return limit;
    }
}

struct NestingCase {
    const char* xml;
    std::size_t depth;
};

class NestingDepth : public testing::TestWithParam<NestingCase> {};

// An empty element counts as a level too: the parser descends into it before it sees the "/>".
TEST_P(NestingDepth, CountsOnlyRealElements) { EXPECT_EQ(Depth(GetParam().xml), GetParam().depth); }

INSTANTIATE_TEST_SUITE_P(
    Texts, NestingDepth,
    testing::Values(NestingCase{"", 0}, NestingCase{"plain text", 0}, NestingCase{"<a/>", 1},
                    NestingCase{"<a></a>", 1}, NestingCase{"<a><b><c/></b></a>", 3},
                    NestingCase{"<a></a><b><c></c></b>", 2}, NestingCase{"<a><b/><b/><b/></a>", 2},
                    NestingCase{"<?xml version=\"1.0\"?><a><?pi <b><c>?></a>", 1},
                    NestingCase{"<a><!-- <b><c><d> --></a>", 1}, NestingCase{"<a><![CDATA[<b><c>]]></a>", 1},
                    NestingCase{"<!DOCTYPE a [<!ELEMENT a (b)>]><a></a>", 1},
                    NestingCase{"<a x=\"/>\" y='>'><b></b></a>", 2},
                    NestingCase{"</a></a><a><b>", 2},  // stray closings never hide later depth
                    NestingCase{"<a><b><c", 3}));      // cut short: counted as far as it goes

TEST(NestingExceeds, ReportsWhereTheLimitIsPassed) {
    const std::string xml = "<a> <b>\n<c>";
    std::size_t offset = 0;
    ASSERT_TRUE(TmxParser::NestingExceeds(xml.data(), xml.size(), 2, offset));
    EXPECT_EQ(offset, 8u);
}

}  // namespace
