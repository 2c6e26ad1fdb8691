#include "stylesheet/link_index.h"

#include <gtest/gtest.h>

#include "stylesheet/evaluator_fixture.h"

namespace quillet {
namespace {

class LinkIndexTest : public ::testing::Test {
 protected:
  std::vector<std::string> listed() const {
    std::vector<std::string> lines;
    for (const LinkIndex::NamedEntry& named : index_.namedEntries())
      lines.push_back(std::string(named.name) + "=" + named.entry->fileName + "#" + named.entry->anchorName);
    return lines;
  }

  LinkIndex index_;
  EvaluationContext html_;
  FakeObject widget_{"class", "Widget"}, gadget_{"class", "Gadget"};
  FakeObject drawInt_{"function", "Draw"}, drawLong_{"function", "Draw"}, nameless_{"arg", ""};
};

TEST_F(LinkIndexTest, NamesSharedByDifferentAnchorsAreWithdrawnForGood) {
  drawLong_.anchor = "f_Draw_long";
  index_.addObject("a.html", widget_);
  index_.addObject("a.html", widget_);  // the same anchor again: still one target
  index_.addObject("a.html", drawInt_);
  index_.addObject("a.html", drawLong_);
  index_.addObject("a.html", drawInt_);
  index_.addNamed("a.html", "Draw", "c_Draw");
  index_.addObject("a.html", nameless_);  // found by identity only
  EXPECT_EQ(index_.namedLink(html_, "Draw"), "");
  EXPECT_TRUE(index_.isAmbiguous("Draw"));
  EXPECT_EQ(index_.objectLink(drawLong_, html_), "a.html#f_Draw_long");
  EXPECT_EQ(index_.objectLink(nameless_, html_), "a.html#c_");
  EXPECT_EQ(index_.objectAnchor(html_, gadget_), "c_Gadget");  // not recorded: its own anchor name
  EXPECT_EQ(listed(), (std::vector<std::string>{"Widget=a.html#c_Widget"}));
}

TEST_F(LinkIndexTest, TypedefNamesLinkToTheirClassesUnlessTheyNameSeveral) {
  index_.addObject("w.html", widget_);
  index_.addObject("g.html", gadget_);
  index_.addNamed("w.html", "ud43525029c_Widget_x", "ud43525029c_Widget_x");
  index_.addNamed("g.html", "ud43525029c_Widget_x", "other");  // the first record of a key stays
  index_.addTypedef("WidgetPtr", *index_.findNamed("Widget"));
  index_.addTypedef("Handle", *index_.findNamed("Widget"));
  index_.addTypedef("Handle", *index_.findNamed("Gadget"));
  EXPECT_EQ(listed(), (std::vector<std::string>{"Gadget=g.html#c_Gadget", "Widget=w.html#c_Widget",
                                                "WidgetPtr=w.html#c_Widget",
                                                "ud43525029c_Widget_x=w.html#ud43525029c_Widget_x"}));
}

TEST_F(LinkIndexTest, NamedTargetsKnowTheKindOfTheirObjects) {
  index_.addObject("w.html", widget_);
  index_.addObject("w.html", drawInt_);
  index_.addTypedef("WidgetPtr", *index_.findNamed("Widget"));
  index_.addNamed("w.html", "ud43525029c_Widget_x", "ud43525029c_Widget_x");
  EXPECT_EQ(index_.namedTarget(html_, "WidgetPtr").kind, LinkKind::kType);
  EXPECT_EQ(index_.namedTarget(html_, "Draw").kind, LinkKind::kFunction);
  EXPECT_EQ(index_.namedTarget(html_, "Draw").link, "w.html#c_Draw");
  EXPECT_EQ(index_.namedTarget(html_, "ud43525029c_Widget_x").kind, LinkKind::kOther);
  EXPECT_EQ(index_.namedTarget(html_, "Nothing").link, "");
}

}  // namespace
}  // namespace quillet
