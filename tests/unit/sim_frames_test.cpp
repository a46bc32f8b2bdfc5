// The simulated Word's frames: Word 2013 and later give every document
// window a top-level "OpusApp" window of its own (SDI); Window.Hwnd names it.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "sim/sim_word.h"

namespace plovera::sim {
namespace {

using host::Ref;

status_t status_of(const std::function<void()>& call) { return boundary_guard(call); }

std::string narrow(const std::u16string& s) { return std::string(s.begin(), s.end()); }

// "class/caption" of each child, top of the Z order first.
std::string children_of(const SimWindowSystem& ws, host::Hwnd h) {
  std::string s;
  for (host::Hwnd c : ws.children(h))
    s += (s.empty() ? "" : " ") + narrow(ws.class_name(c)) + "/" + narrow(ws.caption(c));
  return s;
}

std::string rect_of(const SimWindowSystem& ws, host::Hwnd h) {
  const host::Rect r = ws.rect(h);
  return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) +
         "," + std::to_string(r.bottom);
}

// Empty when Word's frames are as the SDI model says: one top-level
// "OpusApp" per open window (or one empty frame when none is open), each
// window's frame its own, titled after it, holding its view.
std::string frame_problems(const SimWord& word, const SimWindowSystem& ws) {
  std::set<host::Hwnd> opus;
  for (host::Hwnd c : ws.children(ws.desktop()))
    if (ws.class_name(c) == u"OpusApp") opus.insert(c);
  const std::size_t want = word.windows().empty() ? 1 : word.windows().size();
  if (opus.size() != want) return std::to_string(opus.size()) + " frames for " + std::to_string(want);
  std::set<host::Hwnd> used;
  for (SimWindow* w : word.windows()) {
    const SimFrame& f = w->frame();
    if (!opus.count(f.main) || !used.insert(f.main).second) return narrow(w->caption()) + ": no frame of its own";
    if (ws.caption(f.main) != w->caption() + u" - Word") return narrow(w->caption()) + ": title " + narrow(ws.caption(f.main));
    if (ws.parent(f.view) != f.doc_area || ws.caption(f.view) != w->caption()) return narrow(w->caption()) + ": view";
  }
  if (word.windows().empty() && ws.caption(word.empty_frame().main) != u"Word") return "the empty frame's title";
  return {};
}

struct SdiWord {
  SimWindowSystem ws;
  SimWord word;
  SdiWord() {
    word.version(u"16.0");
    word.sdi(ws, {0, 0, 1000, 700});
  }
  SimWindow& open(const std::u16string& name) { return *word.open_document(name).windows().front(); }
  host::Hwnd front() const { return ws.children(ws.desktop()).front(); }
};

TEST(SimWordFrames, EveryWindowHasAFrameWithWordsWindowsInside) {
  SdiWord s;
  const host::Hwnd empty = s.word.empty_frame().main;
  EXPECT_EQ(s.ws.caption(empty), u"Word");  // Word starts with an empty frame
  EXPECT_EQ(frame_problems(s.word, s.ws), "");

  SimWindow& doc1 = s.open(u"Doc1");
  const SimFrame& f = doc1.frame();
  EXPECT_EQ(f.main, empty);  // the first document takes the empty frame over
  EXPECT_EQ(s.word.empty_frame().main, 0u);
  EXPECT_EQ(children_of(s.ws, f.main),
            "MsoCommandBarDock/MsoDockTop MsoCommandBarDock/MsoDockRight _WwF/");
  EXPECT_EQ(children_of(s.ws, f.doc_area), "_WwB/Doc1");
  EXPECT_EQ(rect_of(s.ws, f.dock_top), "0,0,1000,60");
  EXPECT_EQ(rect_of(s.ws, f.dock_right), "976,60,1000,700");
  EXPECT_EQ(rect_of(s.ws, f.doc_area), "0,60,976,700");
  EXPECT_EQ(rect_of(s.ws, f.view), "0,60,976,700");

  Ref<host::Window> w = s.word.application().ActiveWindow();
  EXPECT_EQ(w->Hwnd(), f.main);
  EXPECT_EQ(s.word.calls("Window.Hwnd"), 1);
  EXPECT_EQ(s.ws.foreground_count(), 0);  // Word's own activation is not the add-in's call

  s.word.resize_frame(doc1, 700, 500);
  EXPECT_EQ(rect_of(s.ws, f.dock_right), "676,60,700,500");
  EXPECT_EQ(rect_of(s.ws, f.view), "0,60,676,500");
}

TEST(SimWordFrames, NewFramesCascadeFromTheActiveOneAndStartOverAtTheScreenEdge) {
  SimWindowSystem ws;  // the desktop is 1920 x 1080
  SimWord word;
  word.sdi(ws, {0, 0, 1800, 1000});
  SimDocument& doc1 = word.open_document(u"Doc1");
  SimWindow& second = *word.open_document(u"Doc2").windows().front();
  SimWindow& third = word.new_window(doc1);
  EXPECT_EQ(rect_of(ws, second.frame().main), "32,32,1832,1032");
  EXPECT_EQ(rect_of(ws, third.frame().main), "64,64,1864,1064");
  EXPECT_EQ(ws.caption(third.frame().main), u"Doc1:2 - Word");
  EXPECT_EQ(ws.caption(doc1.windows().front()->frame().main), u"Doc1:1 - Word");
  // 96 + 1000 would pass the screen's bottom: back to the first frame's place.
  SimWindow& fourth = *word.open_document(u"Doc4").windows().front();
  EXPECT_EQ(rect_of(ws, fourth.frame().main), "0,0,1800,1000");
  EXPECT_EQ(ws.children(ws.desktop()).front(), fourth.frame().main);
  EXPECT_EQ(ws.foreground(), fourth.frame().main);
  EXPECT_EQ(frame_problems(word, ws), "");
}

TEST(SimWordFrames, ActivatingAWindowBringsItsFrameToTheFront) {
  SdiWord s;
  SimWindow& a = s.open(u"A");
  SimWindow& b = s.open(u"B");
  EXPECT_EQ(s.front(), b.frame().main);

  Ref<host::Window>(&a)->Activate();
  EXPECT_EQ(s.word.active_window(), &a);
  EXPECT_EQ(s.front(), a.frame().main);
  EXPECT_EQ(s.ws.foreground(), a.frame().main);
  s.word.activate(b);
  EXPECT_EQ(s.ws.foreground(), b.frame().main);
  EXPECT_EQ(s.ws.children(s.ws.desktop())[1], a.frame().main);
}

TEST(SimWordFrames, ClosingDestroysTheFrameButTheLastOneStaysEmpty) {
  SdiWord s;
  SimWindow& a = s.open(u"A");
  SimWindow& b = s.open(u"B");
  const SimFrame fa = a.frame(), fb = b.frame();
  Ref<host::Window> held(&b);

  s.word.close_window(b);
  EXPECT_FALSE(s.ws.exists(fb.main));
  EXPECT_FALSE(s.ws.exists(fb.view));
  EXPECT_EQ(status_of([&] { held->Hwnd(); }), status::disconnected);
  EXPECT_EQ(s.ws.foreground(), fa.main);  // the next window's frame comes forward
  EXPECT_EQ(frame_problems(s.word, s.ws), "");

  s.word.close_window(a);
  EXPECT_TRUE(s.ws.exists(fa.main));
  EXPECT_FALSE(s.ws.exists(fa.view));
  EXPECT_EQ(s.word.empty_frame().main, fa.main);
  EXPECT_EQ(children_of(s.ws, fa.doc_area), "");
  EXPECT_EQ(frame_problems(s.word, s.ws), "");

  SimWindow& c = s.open(u"C");
  EXPECT_EQ(c.frame().main, fa.main);
  EXPECT_EQ(s.ws.caption(fa.main), u"C - Word");
  s.word.restart();  // Word's windows close; a frame stays, empty
  EXPECT_EQ(frame_problems(s.word, s.ws), "");
}

TEST(SimWordFrames, TitlesFollowCaptionsAndRenames) {
  SdiWord s;
  SimDocument& doc = s.word.open_document(u"Report.docx");
  SimWindow& one = *doc.windows().front();
  SimWindow& two = s.word.new_window(doc);
  s.word.rename_document(doc, u"Final.docx");
  EXPECT_EQ(s.ws.caption(one.frame().main), u"Final.docx:1 - Word");
  EXPECT_EQ(s.ws.caption(two.frame().view), u"Final.docx:2");
  s.word.close_window(one);
  EXPECT_EQ(s.ws.caption(two.frame().main), u"Final.docx - Word");
  s.word.set_caption(two, u"Other");
  EXPECT_EQ(s.ws.caption(two.frame().main), u"Other - Word");
  EXPECT_EQ(frame_problems(s.word, s.ws), "");
}

TEST(SimWordFrames, SwitchedOnWithWindowsOpenEachGetsItsFrame) {
  SimWindowSystem ws;
  SimWord word;
  SimWindow& a = *word.open_document(u"A").windows().front();
  SimWindow& b = *word.open_document(u"B").windows().front();
  word.sdi(ws, {10, 10, 810, 610});  // b, the last opened, is active
  EXPECT_EQ(rect_of(ws, a.frame().main), "10,10,810,610");
  EXPECT_EQ(rect_of(ws, b.frame().main), "42,42,842,642");  // cascaded, not on top of a's
  EXPECT_EQ(ws.foreground(), b.frame().main);
  EXPECT_EQ(frame_problems(word, ws), "");
  EXPECT_THROW(word.sdi(ws), std::logic_error);
}

// Opening, further windows, activating and closing in a fixed pseudo-random
// order: after every step the frames match the windows, the active window's
// frame is in front, and every frame lies on the screen. The first 100
// steps open more than they close (the cascade starts over at the screen's
// edge), the rest close more (down to the empty frame and back).
TEST(SimWordFrames, FramesFollowTheWindowsThroughAnySequence) {
  SdiWord s;
  std::uint32_t seed = 12345;
  auto next = [&](std::uint32_t n) { return (seed = seed * 1103515245u + 12345u) / 65536u % n; };
  int emptied = 0;
  for (int step = 0; step < 300; ++step) {
    const auto& open = s.word.windows();
    const std::uint32_t action = open.empty() ? 0 : std::min(next(step < 100 ? 4 : 8), 3u);
    if (action == 0) {
      s.word.open_document(u"D" + std::u16string(1, static_cast<char16_t>(u'a' + step % 26)));
    } else if (action == 1) {
      s.word.new_window(open[next(static_cast<std::uint32_t>(open.size()))]->document());
    } else if (action == 2) {
      s.word.activate(*open[next(static_cast<std::uint32_t>(open.size()))]);
    } else {
      s.word.close_window(*open[next(static_cast<std::uint32_t>(open.size()))]);
    }
    ASSERT_EQ(frame_problems(s.word, s.ws), "") << "after step " << step;
    if (s.word.windows().empty()) ++emptied;
    if (SimWindow* active = s.word.active_window()) {
      ASSERT_EQ(s.ws.foreground(), active->frame().main) << "after step " << step;
      const host::Rect r = s.ws.rect(active->frame().main);
      ASSERT_TRUE(r.left >= 0 && r.top >= 0 && r.right <= 1920 && r.bottom <= 1080) << "after step " << step;
    }
  }
  EXPECT_GT(emptied, 0);  // the sequence did pass through the empty frame
}

TEST(SimWordFrames, HwndWithoutSdiAndUnderInjectedFailures) {
  SimWord word;
  SimWindow& a = *word.open_document(u"A").windows().front();
  SimWindow& b = *word.open_document(u"B").windows().front();
  EXPECT_EQ(Ref<host::Window>(&a)->Hwnd(), 0u);  // no frames known
  word.single_frame(0x10020);
  EXPECT_EQ(Ref<host::Window>(&a)->Hwnd(), 0x10020u);
  EXPECT_EQ(Ref<host::Window>(&b)->Hwnd(), 0x10020u);  // one main window holds them all
  word.fail("Window.Hwnd", 1, status::unexpected);
  EXPECT_EQ(status_of([&] { Ref<host::Window>(&a)->Hwnd(); }), status::unexpected);
  EXPECT_EQ(Ref<host::Window>(&a)->Hwnd(), 0x10020u);
  EXPECT_EQ(word.calls("Window.Hwnd"), 5);
  EXPECT_FALSE(word.is_sdi());
}

}  // namespace
}  // namespace plovera::sim
