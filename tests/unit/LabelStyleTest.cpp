#include <gtest/gtest.h>

#include "ui/style/LabelStyle.h"

using namespace tarnelix::style;

// The label is drawn with the layout its style bits and its text choose.
TEST(LabelLayout, StyleBitsAndTextChooseAlignmentWrappingTabsAndCentring)
{
    const struct {
        std::uint32_t style;
        const char* text;
        LabelAlign align;
        bool wordWrap, expandTabs, singleLineVCentre;
    } cases[] = {
        {kStaticRight, "a\tb", LabelAlign::Right, true, true, false},
        {kStaticLeftNoWordWrap, "ab", LabelAlign::Left, false, false, false},
        {0x0B, "ab", LabelAlign::Left, true, false, false},  // SS_SIMPLE: any other value
        {kStaticCentreImage | kStaticRight, "12\t3", LabelAlign::Centre, false, false, true},
        {kStaticCentreImage, "one\r\ntwo", LabelAlign::Centre, false, false, false},  // keeps its lines
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << std::hex << c.style << " \"" << c.text << '"');
        const TextLayout layout = ChooseTextLayout(c.style, c.text);
        EXPECT_EQ(layout.align, c.align);
        EXPECT_EQ(layout.wordWrap, c.wordWrap);
        EXPECT_EQ(layout.expandTabs, c.expandTabs);
        EXPECT_EQ(layout.singleLineVCentre, c.singleLineVCentre);
    }
}
