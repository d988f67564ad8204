#include "common/leading_int.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

namespace {

using Common::NumberStatus;

// What std::stoi makes of the text: the conversion ReadLeadingInt has to agree with, exceptions included.
NumberStatus StoiStatus(const std::string& text, int& value) {
    try {
        value = std::stoi(text);
        return NumberStatus::Ok;
    } catch (const std::invalid_argument&) {
        return NumberStatus::Invalid;
    } catch (const std::out_of_range&) {
        return NumberStatus::OutOfRange;
    }
}

class ReadLeadingIntAgreesWithStoi : public testing::TestWithParam<std::string> {};

TEST_P(ReadLeadingIntAgreesWithStoi, SameValueOrSameFailure) {
    const std::string& text = GetParam();
    int expected = 0;
    const NumberStatus expectedStatus = StoiStatus(text, expected);
    int32_t value = -7;
    EXPECT_EQ(Common::ReadLeadingInt(text.data(), text.data() + text.size(), value), expectedStatus);
    if (expectedStatus == NumberStatus::Ok) {
        EXPECT_EQ(value, expected);
    }
}

INSTANTIATE_TEST_SUITE_P(Fields, ReadLeadingIntAgreesWithStoi,
                         testing::Values("0", "7", "42", "+5", "-1", "007", " 12", "\n\r\t\v\f 3", "12abc",
                                         "3 4", "12.9", "0x1A", "2147483647", "2147483648", "-2147483648",
                                         "-2147483649", "99999999999", "000000000000000000000000000001",
                                         "123456789012345678901234567890", "-", "+", "", "   ", "abc", "- 5",
                                         "+-5", "--5", "\n",
                                         std::string("\0"
                                                     "5",
                                                     2),
                                         std::string("1\0"
                                                     "5",
                                                     3)));

TEST(ReadLeadingInt, StopsAtTheEndOfItsRange) {
    const std::string text = "12345";
    int32_t value = 0;
    ASSERT_EQ(Common::ReadLeadingInt(text.data(), text.data() + 2, value), NumberStatus::Ok);
    EXPECT_EQ(value, 12);
}

}  // namespace
