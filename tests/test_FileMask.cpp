// File name masks: wildcards, letter case, mask lists and the dot rule of "*.*".

#include <gtest/gtest.h>

#include "platform/FileMask.h"

namespace trovelin {
namespace {

struct MaskCase {
    const char* name;
    const char* mask;
    bool matches;
};

TEST(FileMask, WildcardsAndLetterCase)
{
    const MaskCase cases[] = {
        {"show.kvr", "*.kvr", true},     {"SHOW.KVR", "*.kvr", true},     {"show.Kvr", "*.KVR", true},
        {"show.kvr2", "*.kvr", false},   {"show.kvr.bak", "*.kvr", false}, {"a.b.kvr", "*.kvr", true},
        {".kvr", "*.kvr", true},         {"kvr", "*.kvr", false},         {"anything", "*", true},
        {".hidden", "*", true},          {"ab", "a?", true},              {"a", "a?", false},
        {"abc", "a?", false},            {"a?c", "a?c", true},            {"abc", "a*c", true},
        {"ac", "a*c", true},             {"abcbc", "a*bc", true},         {"abcb", "a*bc", false},
        {"x.kvr", "?.kvr", true},        {"xy.kvr", "?.kvr", false},      {"show.kvr", "show.kvr", true},
        {"show.kvr", "", false},         {"", "*", true},                 {"aXbXc", "*X*X*", true},
        {"\xc3\xa9.kvr", "?\xa9.kvr", true},  // "?" takes one byte of a UTF-8 name
    };
    for (const MaskCase& c : cases) EXPECT_EQ(matchesMask(c.name, c.mask), c.matches) << c.name << " ~ " << c.mask;
}

TEST(FileMask, AMaskEndingInDotStarAlsoTakesNamesWithoutADot)
{
    const MaskCase cases[] = {
        {"README", "*.*", true}, {"a.txt", "*.*", true},     {".", "*.*", true},          {"..", "*.*", true},
        {"readme", "readme.*", true}, {"readme.md", "README.*", true}, {"readmes", "readme.*", false},
        {"a.b", "*.", false},
    };
    for (const MaskCase& c : cases) EXPECT_EQ(matchesMask(c.name, c.mask), c.matches) << c.name << " ~ " << c.mask;
}

TEST(FileMask, MaskListsTakeANameThatAnyMaskTakes)
{
    const MaskCase cases[] = {
        {"a.kvr", "*.kvr;*.txt", true}, {"a.TXT", "*.kvr;*.txt", true}, {"a.bmp", "*.kvr;*.txt", false},
        {"a.bmp", "*.kvr;;*.bmp", true}, {"a.kvr", ";", false},          {"a.kvr", "*.txt;", false},
        {"x;y", "x;y", false},
    };
    for (const MaskCase& c : cases) {
        EXPECT_EQ(matchesMaskList(c.name, c.mask), c.matches) << c.name << " ~ " << c.mask;
    }
}

}  // namespace
}  // namespace trovelin
