#include <gtest/gtest.h>

#include "forms/layout.h"
#include "tests/forms/hex.h"

namespace tessarune::forms {
namespace {

TEST(InitialText, ClassDefaultUnlessTheDescriptionGivesOne) {
    struct Case {
        ControlDesc control;
        std::string_view expected;
    };
    const Case cases[] = {
        {{.name = "标签1", .cls = ControlClass::Label}, "标签"},
        {{.name = "按钮1", .cls = ControlClass::Button}, "按钮"},
        {{.name = "单选框1", .cls = ControlClass::Radio}, "单选框"},
        {{.name = "分组框1", .cls = ControlClass::GroupBox}, ""},
        {{.name = "编辑框1", .cls = ControlClass::Edit}, ""},
        {{.name = "图片框1", .cls = ControlClass::PictureBox}, ""},
        // An empty text in the description is a text: the label starts empty, not "标签".
        {{.name = "标签3", .cls = ControlClass::Label, .text = ""}, ""},
        {{.name = "按钮1", .cls = ControlClass::Button, .text = "计算等级"}, "计算等级"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(Hex(c.control.name));
        EXPECT_EQ(Hex(InitialText(c.control)), Hex(c.expected));
    }
}

}  // namespace
}  // namespace tessarune::forms
