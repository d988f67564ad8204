// The tml reader on hostile text: NUL and high bytes are ordinary bytes, carriage returns change no
// name, key or value, extra "}" at the top level are ignored, and a single line of many megabytes
// is read in one linear pass with its value intact.
#include "markup/document.h"
#include "markup/tml_reader.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

using Doc = std::unique_ptr<Tml::Document>;
using namespace std::string_literals;

Doc Parse(const std::string& text) { return Doc(Tml::ParseDocument(text, "hostile.tml")); }

struct ByteCase {
    std::string what;
    std::string text;  // after the header line
    std::string name;  // of the first root node
    std::string key;   // of its first attribute
    std::string value;
};

TEST(TmlHostile, OddBytesReadAsOrdinaryBytes) {
    const ByteCase cases[] = {
        {"NUL inside words", "{ a\0b\n! k\0 v\0w\n}\n"s, "a\0b"s, "k\0"s, "v\0w"s},
        {"NUL as a whole token", "{ \0\n! \0 \0\n"s, "\0"s, "\0"s, "\0"s},
        {"CR LF line ends", "{ a\r\n! k v\r\n}\r\n", "a", "k", "v"},
        {"a lone CR inside a line", "{ a\rb\n! k v\n", "a", "k", "v"},
        {"bytes of 0x80 and above", "{ \xC3\xA9\n! \xFF \xA0\x85\n", "\xC3\xA9", "\xFF", "\xA0\x85"},
        {"extra closing braces first", "}\n}\n}\n{ a\n! k v\n}\n}\n", "a", "k", "v"},
    };
    for (const ByteCase& c : cases) {
        Doc doc = Parse("@ tangly-ml-v-020\n" + c.text);
        ASSERT_FALSE(doc->RootNodes().empty()) << c.what;
        const Tml::Node* node = doc->RootNodes()[0];
        EXPECT_EQ(node->Name(), c.name) << c.what;
        ASSERT_FALSE(node->Attributes().empty()) << c.what;
        EXPECT_EQ(node->Attributes()[0].key, c.key) << c.what;
        EXPECT_EQ(node->Attributes()[0].value, c.value) << c.what;
    }
}

TEST(TmlHostile, HugeLineIsReadInOnePass) {
    const size_t length = 32u << 20;  // 32 MB in one value
    std::string text = "@ tangly-ml-v-020\n{ a\n! k ";
    text.append(length, 'x');
    text += ";! next v\n# " + std::string(length, ';') + "\n}\n";  // and a comment of nothing but ';'
    Doc doc = Parse(text);  // linear: a quadratic pass would run into the suite's time limit
    const Tml::Node* node = doc->RootNodes().at(0);
    ASSERT_EQ(node->Attributes().size(), 2u);
    EXPECT_EQ(node->Attributes()[0].value.size(), length);
    EXPECT_EQ(node->Attributes()[1].key, "next");
}

}  // namespace
