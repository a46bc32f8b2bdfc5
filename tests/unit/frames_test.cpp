// Word 2013 and later: every document window has a main window (frame) of
// its own, and every frame gets a bar that shows all of Word's windows in
// the one shared order, with its own window selected.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "addin/addin.h"
#include "addin/connect.h"
#include "fixture.h"
#include "sim/sim_forms.h"
#include "sim/sim_winsys.h"
#include "sim/sim_word.h"

namespace plovera::testing {
namespace {

using host::Part;

// Word 16 with a frame per window, the add-in connected.
class SdiWord {
 public:
  sim::SimWord word;
  sim::SimWindowSystem ws;
  sim::SimFormEngine forms{ws};
  Addin addin{HostServices{ws, forms}};
  Connect connect{addin};

  SdiWord() {
    word.version(u"16.0");
    word.width_points(600);
    word.sdi(ws, {0, 0, 1000, 700});
  }
  sim::SimWindow& open(const std::u16string& name) {
    return *word.open_document(name).windows().front();
  }
  void start() {
    connect.on_connection(word.host_object(), 1, nullptr);
    ASSERT_EQ(word.raise_NewDocument(), status::ok);
  }
  void tick(int n = 1) { forms.advance(10u * static_cast<std::uint32_t>(n)); }

  Frame* frame_of(sim::SimWindow& w) { return addin.frame_in(w.frame().main); }
  int docked_frames() {
    int n = 0;
    for (const auto& f : addin.frames()) n += f->bar().loaded() ? 1 : 0;
    return n;
  }
  sim::SimForm& form_of(Frame& f) {
    for (sim::SimForm* form : forms.forms())
      if (form->window() == f.bar().window()) return *form;
    throw std::logic_error("no form for the frame's bar");
  }
  // The bar's strip: captions in position order, "*" after the selected one.
  std::string strip(Frame& f) {
    std::string s;
    TabBar& bar = f.bar();
    for (std::int32_t p = 1; p <= bar.count(); ++p) {
      const Slot slot = bar.slot_at(Position(p));
      const auto& label = form_of(f).element({Part::caption, static_cast<std::int16_t>(slot.value)});
      s += (s.empty() ? "" : " ") + utf8(label.caption) + (slot == bar.selected() ? "*" : "");
    }
    return s;
  }
  // Empty when every docked bar is consistent and shows every tab.
  std::string problems() {
    for (const auto& f : addin.frames()) {
      if (!f->bar().loaded()) continue;
      const std::string broken = f->bar().check_invariants_for_testing();
      if (!broken.empty()) return broken;
      if (ws.parent(f->bar().window()) != f->main_window()) return "a bar outside its frame";
      if (!ws.in_this_process(f->main_window())) return "a bar in another process's window";
    }
    return {};
  }
  // The bar sits between the frame's top dock and its document area.
  bool docked(sim::SimWindow& w) {
    Frame* f = frame_of(w);
    if (!f) return false;
    const host::Rect top = ws.rect(w.frame().dock_top), doc = ws.rect(w.frame().doc_area),
                     bar = ws.rect(f->bar().window());
    return doc.top == top.bottom + f->band_height() && bar.top == top.bottom &&
           bar.bottom <= doc.top + 2;
  }
  void click(Frame& f, Part part, std::int32_t position) {
    forms.target(form_of(f));
    const host::Element e{part,
                          static_cast<std::int16_t>(f.bar().slot_at(Position(position)).value)};
    ASSERT_EQ(forms.mouse_down(e, host::kLeftButton), status::ok);
    ASSERT_EQ(forms.mouse_up(e, host::kLeftButton), status::ok);
    ASSERT_EQ(forms.click(e), status::ok);
  }
};

class Frames : public ::testing::Test, public SdiWord {};

TEST_F(Frames, EveryFrameGetsABarWithEveryTabAndItsOwnWindowSelected) {
  sim::SimWindow& a = open(u"Report");
  sim::SimWindow& b = open(u"Letter");
  sim::SimWindow& c = open(u"Notes");
  start();
  tick(2);
  EXPECT_EQ(docked_frames(), 3);
  for (sim::SimWindow* w : {&a, &b, &c}) {
    ASSERT_NE(frame_of(*w), nullptr) << utf8(w->caption());
    EXPECT_TRUE(docked(*w)) << utf8(w->caption());
  }
  EXPECT_EQ(strip(*frame_of(a)), "Report* Letter Notes");
  EXPECT_EQ(strip(*frame_of(b)), "Report Letter* Notes");
  EXPECT_EQ(strip(*frame_of(c)), "Report Letter Notes*");
  EXPECT_EQ(problems(), "");
  // Each bar is as wide as its own frame (1000 pixels at 96 dpi).
  const host::Rect bar = ws.rect(frame_of(a)->bar().window());
  EXPECT_EQ(bar.right - bar.left, (1000 * 15 - 80) / 15);
}

TEST_F(Frames, ShortCaptionsStillGetABar) {
  sim::SimWindow& a = open(u"A");  // "A - Word": too short to be told apart by its caption
  start();
  tick(2);
  EXPECT_TRUE(docked(a));
}

TEST_F(Frames, ClickOnATabBringsThatWindowsFrameToTheFront) {
  sim::SimWindow& a = open(u"A1");
  open(u"B1");
  sim::SimWindow& c = open(u"C1");
  start();
  tick(2);
  word.activate(a);
  tick();
  click(*frame_of(a), Part::caption, 3);
  EXPECT_EQ(word.active_window(), &c);
  EXPECT_EQ(ws.foreground(), c.frame().main);
  tick();
  EXPECT_EQ(strip(*frame_of(c)), "A1 B1 C1*");
  EXPECT_EQ(strip(*frame_of(a)), "A1* B1 C1");  // each bar keeps its own window
}

TEST_F(Frames, CloseButtonClosesTheWindowAndItsFrameAndEveryBarLosesTheTab) {
  sim::SimWindow& a = open(u"A1");
  sim::SimWindow& b = open(u"B1");
  sim::SimWindow& c = open(u"C1");
  start();
  tick(2);
  click(*frame_of(b), Part::close_button, 2);  // B1's own close button, in its own bar
  EXPECT_FALSE(b.is_open());
  tick(2);
  EXPECT_EQ(docked_frames(), 2);
  EXPECT_EQ(strip(*frame_of(a)), "A1* C1");
  EXPECT_EQ(strip(*frame_of(c)), "A1 C1*");
  EXPECT_EQ(problems(), "");
}

TEST_F(Frames, NewDocumentGetsAFrameWithABarAndATabInEveryBar) {
  sim::SimWindow& a = open(u"A1");
  open(u"B1");
  start();
  tick(2);
  sim::SimWindow& d = open(u"D1");
  tick();
  ASSERT_NE(frame_of(d), nullptr);
  EXPECT_TRUE(docked(d));
  EXPECT_EQ(strip(*frame_of(d)), "A1 B1 D1*");
  EXPECT_EQ(strip(*frame_of(a)), "A1* B1 D1");
  EXPECT_EQ(problems(), "");
}

TEST_F(Frames, DragInOneBarReordersEveryBar) {
  sim::SimWindow& a = open(u"A1");
  sim::SimWindow& b = open(u"B1");
  open(u"C1");
  start();
  tick(2);
  Frame& fa = *frame_of(a);
  fa.bar().move_tab(fa.bar().slot_at(Position(1)), fa.bar().slot_at(Position(3)));
  EXPECT_EQ(strip(fa), "B1 C1 A1*");
  EXPECT_EQ(strip(*frame_of(b)), "B1* C1 A1");
  EXPECT_EQ(problems(), "");
}

TEST_F(Frames, ResizingOneFrameRedocksOnlyItsBand) {
  sim::SimWindow& a = open(u"A1");
  sim::SimWindow& b = open(u"B1");
  start();
  tick(2);
  const host::Rect before = ws.rect(frame_of(a)->bar().window());
  word.resize_frame(b, 600, 500);
  tick();
  EXPECT_TRUE(docked(b));
  const host::Rect bar = ws.rect(frame_of(b)->bar().window());
  EXPECT_EQ(bar.right - bar.left, (600 * 15 - 80) / 15);
  const host::Rect after = ws.rect(frame_of(a)->bar().window());
  EXPECT_EQ(after.right - after.left, before.right - before.left);
  EXPECT_TRUE(docked(a));
}

TEST_F(Frames, DisconnectionGivesEveryFrameItsBandBack) {
  sim::SimWindow& a = open(u"A1");
  sim::SimWindow& b = open(u"B1");
  start();
  tick(2);
  connect.on_disconnection(0);
  for (sim::SimWindow* w : {&a, &b}) {
    EXPECT_EQ(ws.rect(w->frame().doc_area).top, ws.rect(w->frame().dock_top).bottom);
    EXPECT_EQ(frame_of(*w), nullptr);
  }
  EXPECT_TRUE(forms.forms().empty());
  EXPECT_EQ(word.live_refs(), 0);
}

TEST_F(Frames, IdleTickCostsOneCallPerWindowAndTwoMore) {
  for (int i = 0; i < 20; ++i) open(u"Doc" + std::u16string(1, u'a' + i));
  start();
  tick(3);
  ASSERT_EQ(docked_frames(), 20);
  word.reset_calls();
  forms.reset_paints();
  tick();
  EXPECT_EQ(word.total_calls(), 20 + 2);  // captions, the active window, the count
  EXPECT_EQ(word.calls("Window.Hwnd"), 0);
  EXPECT_EQ(forms.paints(), 0);
}

TEST_F(Frames, WindowNamingNoUsableFrameKeepsItsTabButGetsNoBar) {
  sim::SimWindow& a = open(u"A1");
  start();
  tick(2);
  // A foreign program's "OpusApp" window, and a failing read.
  const host::Hwnd other = ws.create_window(ws.desktop(), u"OpusApp", u"Other - Word", {0, 0, 500, 400});
  ws.make_foreign(other);
  sim::SimWindow& b = open(u"B1");
  ws.make_foreign(b.frame().main);
  tick(2);
  EXPECT_EQ(frame_of(b), nullptr);
  // A window no bar belongs to is shown selected where it is active, as in
  // Word's one main window.
  EXPECT_EQ(strip(*frame_of(a)), "A1 B1*");
  EXPECT_EQ(problems(), "");
  EXPECT_TRUE(ws.children(other).empty());  // nothing docked into another process
  // A refused read is asked again on the next pass; an answered one never.
  word.reset_calls();
  word.fail("Window.Hwnd", 1);
  sim::SimWindow& c = open(u"C1");
  tick();
  EXPECT_EQ(strip(*frame_of(a)), "A1* B1 C1");
  tick(3);
  ASSERT_NE(frame_of(c), nullptr);
  EXPECT_EQ(strip(*frame_of(c)), "A1 B1 C1*");
  EXPECT_EQ(word.calls("Window.Hwnd"), 2);
}

TEST_F(Frames, FrameClosedWhileItsOwnBarRunsThePollLeavesTheOthersPolling) {
  sim::SimWindow& a = open(u"A1");
  sim::SimWindow& b = open(u"B1");
  start();
  tick(2);
  word.close_window(a);  // the start-up frame, whose timer led the poll
  tick(5);
  EXPECT_EQ(frame_of(a), nullptr);
  EXPECT_EQ(strip(*frame_of(b)), "B1*");
  sim::SimWindow& c = open(u"C1");
  tick(3);
  EXPECT_EQ(strip(*frame_of(c)), "B1 C1*");
  EXPECT_EQ(problems(), "");
}

// A start-up fails, and Word refuses to hook the add-in to its events again:
// a timer of the add-in's own asks again once a second until Word takes the
// hook, and Word's next event starts the bar.
TEST_F(Frames, FailedStartWhileWordRefusesTheHookListensOnceItTakes) {
  sim::SimWindow& a = open(u"A1");
  connect.on_connection(word.host_object(), 1, nullptr);
  word.fail("Application.Version");
  word.fail("Application.advise");
  word.raise_NewDocument();  // the start fails: Word does not say its version
  EXPECT_EQ(docked_frames(), 0);
  EXPECT_TRUE(addin.asks_to_listen_again_for_testing());
  word.clear_failures();
  word.fail("Application.advise");
  tick(250);  // 2.5 s: asked twice more, refused
  EXPECT_GE(word.calls("Application.advise"), 3);
  EXPECT_EQ(word.raise_NewDocument(), status::ok);  // not heard
  EXPECT_EQ(docked_frames(), 0);
  word.clear_failures();
  tick(100);
  EXPECT_FALSE(addin.asks_to_listen_again_for_testing());
  ASSERT_EQ(word.raise_NewDocument(), status::ok);
  tick(3);
  ASSERT_NE(frame_of(a), nullptr);
  EXPECT_EQ(strip(*frame_of(a)), "A1*");
  EXPECT_EQ(problems(), "");
  // Letting go of Word stops the asking too.
  word.fail("Application.advise");
  addin.listen_again();
  EXPECT_TRUE(addin.asks_to_listen_again_for_testing());
  connect.on_disconnection(0);
  EXPECT_FALSE(addin.asks_to_listen_again_for_testing());
}

// Random frames appearing and going, clicks, drags and failing calls: after
// every tick every bar is consistent; once calls stop failing every open
// window has a docked bar that shows every window with its own selected.
TEST(FramesProperty, RandomSessionsKeepEveryBarConsistent) {
  const char* env = std::getenv("PLOVERA_PROPERTY_STEPS");
  const int steps = env ? std::max(1, std::atoi(env)) : 300;
  for (std::uint64_t seed = 1; seed <= 3; ++seed) {
    SdiWord s;
    std::mt19937_64 rng(seed);
    auto pick = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng); };
    s.open(u"D0");
    s.start();
    s.tick();
    s.word.fail_share(0.05, rng());
    int named = 1;
    for (int i = 0; i < steps; ++i) {
      const auto& windows = s.word.windows();
      switch (pick(6)) {
        case 0:
          if (windows.size() < 12) {
            s.open(u"D" + std::u16string(1, u'a' + named++ % 26));
            s.word.raise_NewDocument();
          }
          break;
        case 1:
          if (!windows.empty()) s.word.close_window(*windows[static_cast<std::size_t>(pick(static_cast<int>(windows.size())))]);
          break;
        case 2:
          if (!windows.empty()) s.word.activate(*windows[static_cast<std::size_t>(pick(static_cast<int>(windows.size())))]);
          break;
        case 3: {
          Frame& f = *s.addin.frames()[static_cast<std::size_t>(pick(static_cast<int>(s.addin.frames().size())))];
          if (f.bar().loaded() && f.bar().count() > 1)
            ignore_errors([&] {
              f.bar().move_tab(f.bar().slot_at(Position(1 + pick(f.bar().count()))),
                               f.bar().slot_at(Position(1 + pick(f.bar().count()))));
            });
          break;
        }
        case 4:
          if (!windows.empty()) {
            sim::SimWindow& w = *windows[static_cast<std::size_t>(pick(static_cast<int>(windows.size())))];
            s.word.resize_frame(w, 400 + pick(600), 300 + pick(400));
          }
          break;
        default:
          break;
      }
      s.tick();
      ASSERT_EQ(s.problems(), "") << "seed " << seed << " step " << i;
    }
    s.word.clear_failures();
    s.tick(3);
    ASSERT_EQ(s.problems(), "");
    for (sim::SimWindow* w : s.word.windows()) {
      Frame* f = s.frame_of(*w);
      ASSERT_NE(f, nullptr) << "seed " << seed << " window " << utf8(w->caption()) << " tab at "
                            << s.addin.model().position_of(host::Ref<host::Window>(w)).value
                            << " of " << s.addin.model().count() << ", frames "
                            << s.addin.frames().size() << ", docked " << s.docked_frames()
                            << ", windows " << s.word.windows().size();
      EXPECT_EQ(f->bar().count(), static_cast<std::int32_t>(s.word.windows().size()));
      EXPECT_EQ(f->bar().selected(),
                f->bar().slot_at(s.addin.model().position_of(host::Ref<host::Window>(w))));
    }
  }
}

}  // namespace
}  // namespace plovera::testing
