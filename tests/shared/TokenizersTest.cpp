#include <gtest/gtest.h>

#include "shared/Tokenizers.h"

namespace kal {
namespace {

struct TokenCase {
    const char* text;
    const char* delimiter;
    const char* token;
    const char* rest;
};

TEST(Tokenizers, MainTokenEndsAtTheDelimiterOnly) {
    const TokenCase cases[] = {
        {";;a;b", ";", "a", "b"},   {"abc", ";", "abc", ""},
        {"a b;c", ";", "a b", "c"},  // blanks belong to the token
        {"a;", ";", "a", ""},       {";;;", ";", "", ""},
        {"", ";", "", ""},          {"a;b", "", "a;b", ""},  // no delimiter: the whole rest
        {"a;b", ";;", "a;b", ""},                            // several characters never match
        {"x°y°z", "°", "x", "y°z"},                          // one character of two bytes
    };
    for (const auto& c : cases) {
        std::string text = c.text, token = "old";
        takeBatchToken(text, token, c.delimiter);
        EXPECT_EQ(token, c.token) << c.text;
        EXPECT_EQ(text, c.rest) << c.text;
    }
}

TEST(Tokenizers, InputTokenAlsoEndsAtBlanksAndDropsThornAndYDiaeresis) {
    const TokenCase cases[] = {
        {"1,5 2", ",", "1", "5 2"},
        {"  12 30 36", " ", "12", "30 36"},
        {"a;b", ";", "a", "b"},
        {"\t P1\t1.5", ";", "P1", "1.5"},
        {";;  a b", ";", "a", "b"},
        {"ÿþP1 2", " ", "P1", "2"},        // what is left of a UTF-16 byte-order mark
        {"\xFF\xFEP1 2", " ", "P1", "2"},  // the same as raw bytes
        {"P1", "", "P1", ""},
        {"", " ", "", ""},
    };
    for (const auto& c : cases) {
        std::string text = c.text, token = "old";
        takeFieldToken(text, token, c.delimiter);
        EXPECT_EQ(token, c.token) << c.text;
        EXPECT_EQ(text, c.rest) << c.text;
    }
}

TEST(Tokenizers, SuccessiveCallsWalkALine) {
    std::string line = "P7;1.5;-2;3e2", token;
    std::vector<std::string> tokens;
    while (!line.empty()) {
        takeFieldToken(line, token, ";");
        tokens.push_back(token);
    }
    EXPECT_EQ(tokens, (std::vector<std::string>{"P7", "1.5", "-2", "3e2"}));
}

}  // namespace
}  // namespace kal
