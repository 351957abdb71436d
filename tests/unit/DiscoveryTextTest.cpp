#include "core/DiscoveryText.h"

#include <gtest/gtest.h>

#include <string>

namespace ombrisk {
namespace {

TEST(CommandLineArgumentsTest, DropsProgramTokenAndBlanks) {
    const struct {
        std::u16string_view commandLine, expected;
    } cases[] = {
        {u"\"C:\\Program Files\\x.exe\" /a b", u"/a b"},
        {u"C:\\x.exe   script.vbs /i=1", u"script.vbs /i=1"},
        {u"  x.exe\targ", u"arg"},
        {u"\"C:\\a b\\x.exe\"rest more", u"more"},  // a quote does not end the token by itself
        {u"x.exe", u""},
        {u"\"C:\\no closing quote\\x.exe arg", u""},
        {u"", u""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CommandLineArguments(c.commandLine), c.expected)
            << std::string(c.commandLine.begin(), c.commandLine.end());
}

TEST(SwitchValueTest, QuotedAndUnquotedValues) {
    const struct {
        std::u16string_view args, key, expected;
    } cases[] = {
        {u"script.vbs /I=\"C:\\My Settings\\main.ini\" /x", u"i=", u"C:\\My Settings\\main.ini"},
        {u"script.vbs /i=C:\\cfg\\main.ini other", u"i=", u"C:\\cfg\\main.ini"},
        {u"script.vbs /i=C:\\cfg\\main.ini other", u"I=", u"C:\\cfg\\main.ini"},
        {u"/f=C:\\ftp.ini", u"f=", u"C:\\ftp.ini"},  // value runs to the end
        {u"xi=abc", u"i=", u"abc"},                  // no slash needed
        {u"/i=a /i=b", u"i=", u"a"},                 // first occurrence wins
        {u"/i=\"  padded  \" x", u"i=", u"padded"},
        {u"/i=\"a b\" c\"", u"i=", u"a b"},
        {u"/i=\"\"", u"i=", u""},
        {u"/i=\"unterminated value", u"i=", u""},
        {u"/i= value", u"i=", u""},  // the space ends an empty value
        {u"/i=", u"i=", u""},
        {u"script.vbs /f=ftp.ini", u"i=", u""},
        {u"", u"i=", u""},
        {u"/i=x", u"", u""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.args.begin(), c.args.end()));
        EXPECT_EQ(SwitchValue(c.args, c.key), c.expected);
    }
}

TEST(SwitchValueTest, UnquotedValueWithoutSpaceIsCutAt999) {
    const std::u16string longValue(2000, u'x');
    EXPECT_EQ(SwitchValue(u"/i=" + longValue, u"i="), std::u16string(996, u'x'));
    // Not cut when a space ends the value.
    EXPECT_EQ(SwitchValue(u"/i=" + longValue + u" more", u"i="), longValue);
    // The value starts at offset 998: one character is left before the cut.
    EXPECT_EQ(SwitchValue(std::u16string(994, u'y') + u" /i=abc", u"i="), u"a");
    // Starting at 999 or later leaves nothing.
    EXPECT_EQ(SwitchValue(std::u16string(995, u'y') + u" /i=abc", u"i="), u"");
    EXPECT_EQ(SwitchValue(std::u16string(3000, u'y') + u" /i=abc", u"i="), u"");
    // Quoted values are not cut.
    const std::u16string quoted = u"/i=\"" + longValue + u"\"";
    EXPECT_EQ(SwitchValue(quoted, u"i="), longValue);
}

TEST(ExpandIniPathTest, Rules) {
    const struct {
        std::u16string_view value, tcPath, profile, expected;
    } cases[] = {
        {u"%USERPROFILE%\\main.ini", u"C:\\tc", u"C:\\Users\\a", u"C:\\Users\\a\\main.ini"},
        {u"%userprofile%\\main.ini", u"C:\\tc", u"C:\\Users\\a", u"C:\\Users\\a\\main.ini"},
        {u"%USERPROFILE%\\main.ini", u"", u"  C:\\Users\\a\\  ", u"C:\\Users\\a\\main.ini"},
        {u"D:\\x\\%UserProfile%\\cfg\\main.ini", u"", u"C:\\Users\\a", u"C:\\Users\\a\\cfg\\main.ini"},
        {u"%USERPROFILE%main.ini", u"", u"C:\\Users\\a", u"C:\\Users\\a\\ain.ini"},
        {u"%USERPROFILE%", u"", u"C:\\Users\\a", u"C:\\Users\\a\\"},
        {u"%USERPROFILE%\\x.ini", u"", u"", u"\\x.ini"},
        {u".\\%USERPROFILE%\\x.ini", u"C:\\tc", u"C:\\Users\\a", u"C:\\Users\\a\\x.ini"},
        {u".\\main.ini", u"C:\\tc", u"C:\\Users\\a", u"C:\\tc\\main.ini"},
        {u".\\main.ini", u"C:\\tc\\", u"C:\\Users\\a", u"C:\\tc\\main.ini"},
        {u".\\main.ini", u"", u"", u"\\main.ini"},
        {u"..\\main.ini", u"C:\\tc", u"", u"..\\main.ini"},
        {u"./main.ini", u"C:\\tc", u"", u"./main.ini"},
        {u"C:\\abs\\main.ini", u"C:\\tc", u"C:\\Users\\a", u"C:\\abs\\main.ini"},
        {u"%APPDATA%\\main.ini", u"C:\\tc", u"C:\\Users\\a", u"%APPDATA%\\main.ini"},
        {u"%USERPROFILE\\main.ini", u"C:\\tc", u"C:\\Users\\a", u"%USERPROFILE\\main.ini"},
        {u"", u"C:\\tc", u"C:\\Users\\a", u""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.value.begin(), c.value.end()));
        EXPECT_EQ(ExpandIniPath(c.value, c.tcPath, c.profile), c.expected);
    }
}

TEST(AddBackslashTest, AddsOnlyWhenMissing) {
    EXPECT_EQ(AddBackslash(u"C:\\tc"), u"C:\\tc\\");
    EXPECT_EQ(AddBackslash(u"C:\\tc\\"), u"C:\\tc\\");
    EXPECT_EQ(AddBackslash(u""), u"\\");
    EXPECT_EQ(AddBackslash(u"C:\\tc/"), u"C:\\tc/\\");
}

}  // namespace
}  // namespace ombrisk
