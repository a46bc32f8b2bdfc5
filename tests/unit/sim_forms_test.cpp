// The simulated forms engine: the label metric, the clock and its timers,
// guarded event delivery, element loading and repaint counting.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/form_design.h"
#include "sim/sim_forms.h"

namespace plovera::sim {
namespace {

using host::Part;
using host::Element;
using host::Timer;

// Records every event as text; throws from the handlers when told to.
struct Recorder : host::FormEvents {
  std::vector<std::string> seen;
  SimFormEngine* engine = nullptr;
  bool throw_next = false;

  void note(std::string what) {
    if (engine) what += "@" + std::to_string(engine->now());
    seen.push_back(std::move(what));
    if (throw_next) {
      throw_next = false;
      throw host_error(status::fail, "handler");
    }
  }
  void MouseDown(Element e, std::int16_t b) override { note("down" + at(e) + std::to_string(b)); }
  void MouseMove(Element e, std::int16_t b) override { note("move" + at(e) + std::to_string(b)); }
  void MouseUp(Element e, std::int16_t b) override { note("up" + at(e) + std::to_string(b)); }
  void Click(Element e) override { note("click" + at(e)); }
  void DblClick(Element e) override { note("dbl" + at(e)); }
  void DragDrop(Element e, std::int16_t source, float x, float) override {
    note("drop" + at(e) + " from " + std::to_string(source) + " x" + std::to_string(int(x)));
  }
  void TimerTick(Timer t) override {
    note(t == Timer::poll ? "mouse" : t == Timer::scroll_left ? "left" : "right");
  }
  static std::string at(Element e) { return "(" + std::to_string(int(e.part)) + "," +
                                            std::to_string(e.index) + ")"; }
};

struct FormTest : ::testing::Test {
  SimWindowSystem ws;
  SimFormEngine engine{ws};
  Recorder events;
  std::unique_ptr<host::Form> form = engine.CreateForm(events);
};

constexpr Element label(std::int16_t i) { return {Part::caption, i}; }

TEST_F(FormTest, LabelsMeasureOneHundredTwipsPerCodePoint) {
  form->Load(Part::caption, 1);
  form->Caption(label(1), u"Doc1");
  EXPECT_EQ(form->Width(label(1)), 675.0f);  // AutoSize still off: the template's size
  form->AutoSize(label(1), true);
  EXPECT_EQ(form->Width(label(1)), 400.0f);
  EXPECT_EQ(form->Height(label(1)), 270.0f);
  form->Caption(label(1), u"\U0001F4C4 Документ");  // a surrogate pair counts once
  EXPECT_EQ(form->Width(label(1)), 1000.0f);
  form->Width(label(1), 5.0f);  // ignored: labels size themselves
  EXPECT_EQ(form->Width(label(1)), 1000.0f);
  form->Caption(label(1), u"");
  EXPECT_EQ(form->Width(label(1)), 0.0f);
  EXPECT_EQ(form->Height(label(1)), 270.0f);
  EXPECT_EQ(label_width(u"\xD800x"), 200.0f);  // a lone surrogate is a code point of its own
}

TEST_F(FormTest, LoadCopiesTheTemplateAndOnlyTheNextIndex) {
  EXPECT_EQ(form->Count(Part::caption), 1);
  form->Load(Part::caption, 1);
  const ElementRecord& loaded = engine.form()->element(label(1));
  EXPECT_EQ(loaded.caption, plovera::host::design::caption_template_text);
  EXPECT_EQ(loaded.font, u"Tahoma");
  EXPECT_FALSE(loaded.visible);
  EXPECT_EQ(form->Count(Part::caption), 2);

  EXPECT_EQ(boundary_guard([&] { form->Load(Part::caption, 1); }), status::invalid_arg);
  EXPECT_EQ(boundary_guard([&] { form->Load(Part::caption, 3); }), status::bad_index);
  EXPECT_EQ(boundary_guard([&] { form->Left({Part::face, 1}); }), status::bad_index);
  EXPECT_EQ(boundary_guard([&] { form->Caption({Part::face, 0}); }), status::invalid_arg);
  EXPECT_TRUE(form->Visible({Part::right_arrow, 0}));  // the arrows show until the logic hides them
  EXPECT_EQ(form->Picture({Part::left_arrow, 0}), host::Picture::scroll_left);
}

TEST_F(FormTest, FormSizeFollowsItsWindowInTwips) {
  EXPECT_EQ(form->Width(), 8115.0f);  // 541 pixels at 15 twips
  EXPECT_EQ(form->Height(), 360.0f);
  form->Width(13000.0f);  // 866.67 pixels: 867
  EXPECT_EQ(ws.rect(form->hWnd()).right, 867);
  ws.place_window(form->hWnd(), 0, 0, 0, 794, 26, host::place::frame_changed);
  EXPECT_EQ(form->Width(), 794.0f * 15);
  EXPECT_EQ(form->Height(), 390.0f);

  ws.log_pixels(120, 120);
  form->Width(1230.0f);  // 102.5 pixels: half to even, 102
  EXPECT_EQ(form->Width(), 102.0f * 12);
}

TEST_F(FormTest, TimersFireInTimeOrderFromWhenTheyWereEnabled) {
  events.engine = &engine;
  form->TimerEnabled(Timer::poll, true);
  engine.advance(25);
  form->TimerEnabled(Timer::scroll_right, true);  // due at 125, then 225
  form->TimerInterval(Timer::poll, 50);   // restarts: due at 75, 125, ...
  engine.advance(200);
  EXPECT_EQ(events.seen, (std::vector<std::string>{"mouse@10", "mouse@20", "mouse@75",
                                                   "mouse@125", "right@125", "mouse@175",
                                                   "mouse@225", "right@225"}));
  EXPECT_EQ(engine.now(), 225u);
  EXPECT_FALSE(form->TimerEnabled(Timer::scroll_left));
}

TEST_F(FormTest, DeliveriesAreGuardedAndDropsCarryTheDragSource) {
  form->Load(Part::face, 1);
  const Element face{Part::face, 1};
  EXPECT_THROW(engine.mouse_down(face, host::kLeftButton), std::logic_error);  // hidden
  form->Visible(face, true);

  events.throw_next = true;
  EXPECT_EQ(engine.mouse_down(face, host::kLeftButton), status::fail);
  EXPECT_EQ(engine.failed_events(), 1);
  form->Drag(face);
  ASSERT_TRUE(engine.drag_source().has_value());
  EXPECT_EQ(engine.drop({Part::bar, 0}, 4000.0f, 100.0f), status::ok);
  EXPECT_FALSE(engine.drag_source().has_value());
  EXPECT_THROW(engine.drop(face, 0, 0), std::logic_error);
  EXPECT_EQ(events.seen, (std::vector<std::string>{"down(1,1)1", "drop(0,0) from 1 x4000"}));
}

TEST_F(FormTest, OnlyVisibleChangesRepaint) {
  form->Load(Part::face, 1);
  const Element face{Part::face, 1};
  engine.reset_paints();
  form->Left(face, 500);  // hidden: nothing to repaint
  form->Picture(face, host::Picture::face_normal);
  EXPECT_EQ(engine.paints(), 0);
  form->Visible(face, true);
  form->Left(face, 500);  // the same value
  form->Picture(face, host::Picture::face_normal);
  EXPECT_EQ(engine.paints(), 1);
  form->Picture(face, host::Picture::none);
  form->Visible(face, false);
  EXPECT_EQ(engine.paints(), 3);
}

TEST_F(FormTest, DestroyingTheFormRemovesItsWindowAndStopsItsTimers) {
  const host::Hwnd hwnd = form->hWnd();
  form->TimerEnabled(Timer::poll, true);
  engine.fail("Element.Left.let");
  EXPECT_EQ(boundary_guard([&] { form->Left({Part::left_arrow, 0}, 9); }), status::fail);
  EXPECT_EQ(form->Left({Part::left_arrow, 0}), 0.0f);
  EXPECT_EQ(engine.calls("Element.Left.let"), 1);

  form.reset();
  EXPECT_EQ(engine.form(), nullptr);
  EXPECT_FALSE(ws.exists(hwnd));
  engine.advance(100);
  EXPECT_TRUE(events.seen.empty());
}

}  // namespace
}  // namespace plovera::sim
