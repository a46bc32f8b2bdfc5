// The pointer on the bar: hot looks, presses, drags, the popup, and the hot
// looks cleared when the pointer leaves the bar.
#include "fixture.h"

namespace plovera::testing {
namespace {

using host::Part;
using host::Element;
using host::Picture;

class Pointer : public ::testing::Test, public WordFixture {
 protected:
  void SetUp() override {
    open(3);
    word.activate(window(u"Doc1"));
    start();
    tick(2);
    ASSERT_EQ(strip(), "Doc1* Doc2 Doc3");
    ws.cursor(100, 70);  // over the bar, which lies at (0,60)-(794,86)
  }
  Picture face(int c) { return el(Part::face, c).picture; }
  Picture close_button(int c) { return el(Part::close_button, c).picture; }
  int popups = 0;
  void count_popups() {
    word.on_popup([this](sim::SimCommandBar&) { ++popups; });
  }
};

TEST_F(Pointer, MovingWithinOneTabChangesNothing) {
  forms.mouse_move({Part::face, 2}, 0);
  const std::int64_t before = forms.calls("Element.Picture.let");
  for (Part part : {Part::face, Part::icon, Part::caption}) forms.mouse_move({part, 2}, 0);
  EXPECT_EQ(forms.calls("Element.Picture.let"), before);
  EXPECT_EQ(face(2), Picture::face_hot);
}

TEST_F(Pointer, HotFaceFollowsThePointerFromTabToTab) {
  forms.mouse_move({Part::caption, 2}, 0);
  EXPECT_EQ(face(2), Picture::face_hot);
  forms.mouse_move({Part::icon, 3}, 0);
  EXPECT_EQ(face(2), Picture::face_normal);
  EXPECT_EQ(face(3), Picture::face_hot);
  forms.mouse_move({Part::face, 1}, 0);  // the selected tab is hot too
  EXPECT_EQ(face(1), Picture::face_hot);
  forms.mouse_move({Part::face, 2}, 0);
  EXPECT_EQ(face(1), Picture::none);  // back to the selected look
  EXPECT_EQ(bar.hovered(), Slot(2));
}

TEST_F(Pointer, CloseButtonIsHotWithItsFace) {
  forms.mouse_move({Part::close_button, 2}, 0);
  EXPECT_EQ(face(2), Picture::face_hot);
  EXPECT_EQ(close_button(2), Picture::close_hot);
  forms.mouse_move({Part::caption, 2}, 0);
  EXPECT_EQ(close_button(2), Picture::close_normal);
  EXPECT_EQ(face(2), Picture::face_hot);
  forms.mouse_move({Part::close_button, 3}, 0);
  forms.mouse_move({Part::close_button, 2}, 0);
  EXPECT_EQ(close_button(3), Picture::close_normal);
  EXPECT_EQ(bar.hot_close(), Slot(2));
}

TEST_F(Pointer, BackgroundAndArrowsClearTheHotLooks) {
  bar.form().Visible({Part::left_arrow, 0}, true);
  for (Element e : {Element{Part::bar, 0}, Element{Part::left_arrow, 0}}) {
    forms.mouse_move({Part::close_button, 2}, 0);
    forms.mouse_move(e, 0);
    EXPECT_EQ(face(2), Picture::face_normal);
    EXPECT_EQ(close_button(2), Picture::close_normal);
    EXPECT_EQ(bar.hovered(), Slot(0));
    EXPECT_EQ(bar.hot_close(), Slot(0));
  }
}

TEST_F(Pointer, LeavingTheBarClearsTheHotLooksOnTheNextTick) {
  forms.mouse_move({Part::close_button, 1}, 0);
  ASSERT_EQ(face(1), Picture::face_hot);
  tick();
  EXPECT_EQ(face(1), Picture::face_hot);  // still over the bar
  ws.cursor(100, 30);  // up into Word's toolbars
  tick();
  EXPECT_EQ(face(1), Picture::none);  // the selected tab's own look
  EXPECT_EQ(close_button(1), Picture::close_normal);
  EXPECT_EQ(bar.hovered(), Slot(0));
  EXPECT_EQ(bar.hot_close(), Slot(0));
}

TEST_F(Pointer, TheBarsEdgeCountsAsOutside) {
  const host::Rect r = ws.rect(form().window());
  for (host::Point edge : {host::Point{r.left, 70}, host::Point{100, r.top},
                           host::Point{r.right, 70}, host::Point{100, r.bottom}}) {
    forms.mouse_move({Part::face, 2}, 0);
    ws.cursor(edge.x, edge.y);
    tick();
    EXPECT_EQ(face(2), Picture::face_normal) << edge.x << "," << edge.y;
    ws.cursor(100, 70);
  }
}

TEST_F(Pointer, LeavingWithTheButtonHeldKeepsThePress) {
  forms.mouse_down({Part::face, 2}, host::kLeftButton);
  ws.cursor(100, 300);
  tick();
  EXPECT_EQ(bar.pending_drag(), Slot(2));
}

TEST_F(Pointer, LeftPressThenMoveBeginsADragOfTheFace) {
  forms.mouse_down({Part::caption, 2}, host::kLeftButton);
  EXPECT_EQ(bar.pending_drag(), Slot(2));
  forms.mouse_move({Part::caption, 2}, host::kLeftButton);
  ASSERT_TRUE(forms.drag_source());
  EXPECT_EQ(*forms.drag_source(), (Element{Part::face, 2}));
  EXPECT_EQ(bar.pending_drag(), Slot(0));
  EXPECT_EQ(face(2), Picture::face_hot);
}

TEST_F(Pointer, PressAndReleaseWithoutAMoveIsAClick) {
  forms.mouse_down({Part::face, 2}, host::kLeftButton);
  forms.mouse_up({Part::face, 2}, host::kLeftButton);
  forms.mouse_move({Part::face, 2}, 0);
  EXPECT_FALSE(forms.drag_source());
  EXPECT_EQ(bar.pending_drag(), Slot(0));
}

TEST_F(Pointer, CloseButtonNeverArmsADrag) {
  forms.mouse_down({Part::close_button, 2}, host::kLeftButton);
  forms.mouse_move({Part::close_button, 2}, host::kLeftButton);
  EXPECT_EQ(bar.pending_drag(), Slot(0));
  EXPECT_FALSE(forms.drag_source());
}

TEST_F(Pointer, RightPressAnywhereOpensTheSameMenuAndArmsNothing) {
  count_popups();
  for (Element e : {Element{Part::bar, 0}, Element{Part::face, 2}, Element{Part::close_button, 3},
                    Element{Part::icon, 1}, Element{Part::caption, 2}}) {
    forms.mouse_down(e, host::kRightButton);
    EXPECT_EQ(bar.pending_drag(), Slot(0));
  }
  EXPECT_EQ(popups, 5);
  EXPECT_EQ(strip(), "Doc1* Doc2 Doc3");  // the tab under the pointer is not selected
}

TEST_F(Pointer, ChoosingFromThePopupRunsTheCommand) {
  word.on_popup([&](sim::SimCommandBar&) { word.click(menu_button(MenuItem::visit_web_site)); });
  forms.mouse_down({Part::bar, 0}, host::kRightButton);
  EXPECT_EQ(ws.shell_calls().size(), 1u);
}

TEST_F(Pointer, SelectingTheActiveTabAgainDoesNothing) {
  forms.reset_paints();
  bar.select_tab(Slot(1));
  EXPECT_EQ(forms.paints(), 0);
}

TEST_F(Pointer, AFailureInsideMouseMLeavesHoverWorking) {
  forms.fail("Element.Picture.let", 1);
  EXPECT_TRUE(failed(forms.mouse_move({Part::face, 2}, 0)));
  EXPECT_EQ(bar.hover_check_running(), false);
  EXPECT_EQ(bar.hovered(), Slot(0));  // the state is written last
  forms.mouse_move({Part::face, 2}, 0);
  EXPECT_EQ(face(2), Picture::face_hot);
}

TEST_F(Pointer, IndexVariablesStayValid) {
  forms.mouse_move({Part::close_button, 3}, 0);
  word.close_window(window(u"Doc3"));
  tick();
  EXPECT_EQ(invariants(), "");
  forms.mouse_move({Part::bar, 0}, 0);
  EXPECT_EQ(bar.hovered(), Slot(0));
  EXPECT_EQ(bar.hot_close(), Slot(0));
}

}  // namespace
}  // namespace plovera::testing
