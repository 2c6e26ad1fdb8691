#include "stylesheet/link_index.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "stylesheet/evaluation_context.h"
#include "stylesheet/evaluator_fixture.h"
#include "stylesheet/markup.h"
#include "stylesheet/style_sheet_filter.h"

namespace quillet {
namespace {

class LinkIndexTest : public ::testing::Test {
 protected:
  LinkIndexTest() {
    html_.filter = &htmlFilter_;
    html_.linkIndex = &index_;
    rtf_.filter = &rtfFilter_;
    rtf_.linkIndex = &index_;
  }

  std::vector<std::string> listed() const {
    std::vector<std::string> lines;
    for (const LinkIndex::NamedEntry& named : index_.namedEntries())
      lines.push_back(std::string(named.name) + "=" + named.entry->fileName + "#" + named.entry->anchorName);
    return lines;
  }

  LinkIndex index_;
  HTMLStyleSheetFilter htmlFilter_;
  RTFStyleSheetFilter rtfFilter_;
  EvaluationContext html_;
  EvaluationContext rtf_;
  FakeObject widget_{"class", "Widget"};
  FakeObject gadget_{"class", "Gadget"};
  FakeObject draw1_{"function", "Draw"};
  FakeObject draw2_{"function", "Draw"};
  FakeObject nameless_{"arg", ""};
};

TEST_F(LinkIndexTest, ObjectsAreFoundByIdentityAndTheirFirstAnchorStays) {
  index_.addObject("a.html", widget_);
  index_.addObject("b.html", widget_);
  EXPECT_EQ(index_.objectLink(widget_, html_), "a.html#c_Widget");
  EXPECT_EQ(index_.objectLink(widget_, rtf_), "c_Widget");
  EXPECT_EQ(index_.objectAnchor(html_, widget_), "c_Widget");
  EXPECT_EQ(index_.objectLink(gadget_, html_), "");
  EXPECT_EQ(index_.objectAnchor(html_, gadget_), "c_Gadget");  // not recorded: its own anchor name
  // Anchored in two files, the name is ambiguous for linked text.
  EXPECT_EQ(index_.namedLink(html_, "Widget"), "");
  EXPECT_TRUE(index_.isAmbiguous("Widget"));
}

TEST_F(LinkIndexTest, NamesSharedByDifferentAnchorsAreWithdrawnForGood) {
  draw1_.anchor = "f_Draw_int";
  draw2_.anchor = "f_Draw_long";
  index_.addObject("a.html", widget_);
  index_.addObject("a.html", widget_);  // the same anchor again: still one target
  index_.addObject("a.html", draw1_);
  index_.addObject("a.html", draw2_);
  index_.addObject("a.html", draw1_);
  index_.addNamed("a.html", "Draw", "f_Draw_int");
  index_.addObject("a.html", nameless_);  // nameless objects are found by identity only
  EXPECT_EQ(index_.namedLink(html_, "Widget"), "a.html#c_Widget");
  EXPECT_EQ(index_.namedLink(html_, "Draw"), "");
  EXPECT_EQ(index_.objectLink(draw2_, html_), "a.html#f_Draw_long");
  EXPECT_EQ(index_.objectLink(nameless_, html_), "a.html#c_");
  EXPECT_EQ(listed(), (std::vector<std::string>{"Widget=a.html#c_Widget"}));
}

TEST_F(LinkIndexTest, PostfixedKeysAndTypedefNames) {
  const std::string key = LinkIndex::postfixKey(widget_, "_members");
  EXPECT_EQ(key, "ud43525029c_Widget_members");
  index_.addNamed("w.html", key, key);
  index_.addNamed("x.html", key, "other");  // the first record of a key stays
  EXPECT_EQ(index_.namedLink(html_, key), "w.html#ud43525029c_Widget_members");
  EXPECT_EQ(index_.namedAnchor(html_, key), key);
  EXPECT_EQ(index_.namedAnchor(html_, "ud43525029c_Gadget_x"), "ud43525029c_Gadget_x");

  index_.addObject("w.html", widget_);
  index_.addObject("g.html", gadget_);
  index_.addTypedef("WidgetPtr", *index_.findNamed("Widget"));
  index_.addTypedef("Handle", *index_.findNamed("Widget"));
  index_.addTypedef("Handle", *index_.findNamed("Gadget"));  // one name for two classes: not linked
  EXPECT_EQ(index_.namedLink(rtf_, "WidgetPtr"), "c_Widget");
  EXPECT_EQ(index_.findNamed("Handle"), nullptr);
  EXPECT_EQ(listed(), (std::vector<std::string>{
                          "Gadget=g.html#c_Gadget", "Widget=w.html#c_Widget", "WidgetPtr=w.html#c_Widget",
                          "ud43525029c_Widget_members=w.html#ud43525029c_Widget_members"}));
}

TEST_F(LinkIndexTest, AnswersTheLinkedTextWriter) {
  index_.addObject("w.html", widget_);
  index_.addObject("a.html", draw1_);
  index_.addObject("b.html", draw2_);
  std::ostringstream html;
  writeLinkedText(html_, html, "Widget::Draw(Gadget)", "");
  EXPECT_EQ(html.str(), "<A HREF=\"w.html#c_Widget\">Widget</A>::Draw(Gadget)");
  std::ostringstream rtf;
  writeLinkedText(rtf_, rtf, "a Widget", "");
  EXPECT_EQ(rtf.str(), "a {\\uldb Widget\\ulnone\\v c_Widget }");
}

}  // namespace
}  // namespace quillet
