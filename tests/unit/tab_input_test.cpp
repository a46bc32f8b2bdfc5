// The middle button and the mouse wheel on the bar.
#include "fixture.h"

namespace plovera::testing {
namespace {

using host::Element;
using host::Part;

class MiddleClick : public ::testing::Test, public WordFixture {
 protected:
  void SetUp() override {
    open(3);
    start();
    tick();
  }
  Element on_tab(int position, Part part) {
    return {part, static_cast<std::int16_t>(slot(position).value)};
  }
  void middle_click(Element down, Element up) {
    ASSERT_EQ(forms.mouse_down(down, host::kMiddleButton), status::ok);
    ASSERT_EQ(forms.mouse_up(up, host::kMiddleButton), status::ok);
  }
};

TEST_F(MiddleClick, OnAnyPartOfATabClosesItsWindowAsItsCloseButtonDoes) {
  int prompts = 0;
  word.close_prompt([&](sim::SimWindow&) { return ++prompts, true; });
  middle_click(on_tab(2, Part::caption), on_tab(2, Part::caption));
  EXPECT_EQ(word_windows(), "Doc1 Doc3");
  EXPECT_EQ(prompts, 1);  // through Word's Close, with its prompt
  EXPECT_EQ(ws.foreground(), main);
  tick();
  word.open_document(u"Doc4");
  tick();
  for (Part part : {Part::face, Part::icon, Part::close_button}) {
    middle_click(on_tab(1, part), on_tab(1, part));
    tick();
  }
  EXPECT_EQ(word_windows(), "");
  EXPECT_EQ(invariants(), "");
}

TEST_F(MiddleClick, ElsewhereOrReleasedOnAnotherTabDoesNothing) {
  middle_click({Part::bar, 0}, {Part::bar, 0});
  middle_click(on_tab(1, Part::face), on_tab(2, Part::face));
  middle_click({Part::bar, 0}, on_tab(2, Part::face));
  // A left or right release does not finish a middle press.
  ASSERT_EQ(forms.mouse_down(on_tab(1, Part::face), host::kMiddleButton), status::ok);
  ASSERT_EQ(forms.mouse_up(on_tab(1, Part::face), host::kLeftButton), status::ok);
  EXPECT_EQ(word.calls("Window.Close"), 0);
  EXPECT_EQ(word_windows(), "Doc1 Doc2 Doc3");
  EXPECT_EQ(strip(), "Doc1 Doc2 Doc3*");  // nothing selected either
}

class Wheel : public ::testing::Test, public WordFixture {
 protected:
  // Eight tabs of 30-character captions: far wider than the bar.
  void SetUp() override {
    for (int i = 0; i < 8; ++i) word.open_document(std::u16string(30, u'a' + i));
    start();
    tick(2);
    ASSERT_TRUE(el(Part::right_arrow, 0).visible);
  }
  float first_left() { return el(Part::face, slot(1)).left; }
  // One held-arrow step towards the start, as the arrow's timer takes it.
  void arrow_step(Part arrow) {
    forms.mouse_down({arrow, 0}, host::kLeftButton);
    forms.advance(100);
    forms.mouse_up({arrow, 0}, host::kLeftButton);
  }
};

TEST_F(Wheel, EachNotchIsOneStepOfAnArrow) {
  // The strip starts at its right end: towards the user or to the left
  // scrolls towards the start, as the left arrow does.
  const float start = first_left();
  ASSERT_EQ(forms.wheel(1, false), status::ok);
  EXPECT_EQ(first_left(), start + 1000);
  ASSERT_EQ(forms.wheel(-1, true), status::ok);
  EXPECT_EQ(first_left(), start + 2000);
  ASSERT_EQ(forms.wheel(-2, false), status::ok);
  EXPECT_EQ(first_left(), start);
  ASSERT_EQ(forms.wheel(1, true), status::ok);
  arrow_step(Part::left_arrow);
  EXPECT_EQ(first_left(), start);  // the wheel's step and the arrow's, undone alike
  EXPECT_EQ(invariants(), "");
}

TEST_F(Wheel, StopsWhereTheArrowsStop) {
  ASSERT_EQ(forms.wheel(30000, false), status::ok);
  const std::string wheel_end = lefts();
  ASSERT_EQ(forms.wheel(-30000, false), status::ok);
  const std::string wheel_start_end = lefts();
  // The arrows held long enough reach the same two ends.
  forms.mouse_down({Part::left_arrow, 0}, host::kLeftButton);
  forms.advance(20000);
  forms.mouse_up({Part::left_arrow, 0}, host::kLeftButton);
  EXPECT_EQ(lefts(), wheel_end);
  forms.mouse_down({Part::right_arrow, 0}, host::kLeftButton);
  forms.advance(20000);
  forms.mouse_up({Part::right_arrow, 0}, host::kLeftButton);
  EXPECT_EQ(lefts(), wheel_start_end);
}

TEST_F(Wheel, NothingWhenTheTabsFit) {
  WordFixture f;
  f.open(2);
  f.start();
  f.tick();
  ASSERT_FALSE(f.el(Part::right_arrow, 0).visible);
  const std::string before = f.lefts();
  for (bool horizontal : {false, true})
    for (std::int16_t n : {1, -1, 5}) ASSERT_EQ(f.forms.wheel(n, horizontal), status::ok);
  EXPECT_EQ(f.lefts(), before);
}

}  // namespace
}  // namespace plovera::testing
