#include "core/SettingsDialogText.h"

#include <gtest/gtest.h>

#include <string>

namespace ombrisk {
namespace {

TEST(ParseSettingsDialogTextTest, ReadsBothPaths) {
    const struct {
        std::u16string_view text, mainIni, ftpIni;
    } cases[] = {
        {u"INI-Files: C:\\Tools\\wincmd.ini\rC:\\Tools\\wcx_ftp.ini", u"C:\\Tools\\wincmd.ini", u"C:\\Tools\\wcx_ftp.ini"},
        {u"ini-files: a.ini\rb.ini", u"a.ini", u"b.ini"},
        {u"Version 1.0\r\nINI-Files:\na.ini\rb.ini", u"a.ini", u"b.ini"},  // text before the label
        {u"INI-Files:Xa.ini\rb.ini", u"a.ini", u"b.ini"},                  // any separator is skipped
        {u"INI-Files: a.ini\r\nb.ini", u"a.ini", u"\nb.ini"},              // all after the CR, LF included
        {u"INI-Files: a\rb\rmore lines", u"a", u"b\rmore lines"},
        {u"INI-Files: \rb.ini", u"", u"b.ini"},
        {u"INI-Files: a.ini\r", u"a.ini", u""},
        {u"INI-Files: a\rb INI-Files: c\rd", u"a", u"b INI-Files: c\rd"},  // the first label counts
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.text.begin(), c.text.end()));
        const auto r = ParseSettingsDialogText(c.text);
        ASSERT_TRUE(r.has_value());
        EXPECT_EQ(r->first, c.mainIni);
        EXPECT_EQ(r->second, c.ftpIni);
    }
}

TEST(ParseSettingsDialogTextTest, NoResult) {
    const std::u16string_view cases[] = {
        u"",
        u"C:\\Tools\\wincmd.ini\rC:\\Tools\\wcx_ftp.ini",  // no label
        u"INI-Files",
        u"INI-Files:",                                  // nothing after the label
        u"INI-Files: ",                                 // only the separator
        u"INI-Files:\r",                                // the CR is the separator, so no CR in the tail
        u"INI-Files: a.ini",                            // no CR
        u"x\ra INI-Files: b.ini",                       // the CR before the label does not count
        std::u16string_view(u"INI-Files: a\0\rb", 16),  // the text ends at U+0000
    };
    for (const auto& text : cases) {
        SCOPED_TRACE(std::string(text.begin(), text.end()));
        EXPECT_FALSE(ParseSettingsDialogText(text).has_value());
    }
}

}  // namespace
}  // namespace ombrisk
