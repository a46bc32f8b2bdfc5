// The mark for unsaved changes: when Word's Document.Saved is read (how
// often, idle and busy), what the tab shows, and what a failing read or a
// change of the tabs during a read leaves.
#include <gtest/gtest.h>

#include "addin/cadence.h"
#include "fixture.h"
#include "sdi_fixture.h"

namespace plovera::testing {
namespace {

using host::Part;
using host::Picture;

constexpr std::uint32_t kQuickPeriodMs = Cadence::quick_ticks * Cadence::quick_ms + 10;

class Unsaved : public ::testing::Test, public WordFixture {
 protected:
  void SetUp() override {
    open(3);  // Doc3 is active
    start();
    settle();
  }
  void settle() { forms.advance(kQuickPeriodMs); }
  sim::SimDocument& doc(int i) { return *word.documents()[static_cast<std::size_t>(i - 1)]; }
  // The tabs that show the mark, as "1 3" (positions).
  std::string marked() {
    std::string out;
    for (std::int32_t p = 1; p <= addin.model().count(); ++p) {
      const Slot s = slot(p);
      const bool dot = el(Part::close_button, s).picture == Picture::close_unsaved;
      const bool told = el(Part::face, s).unsaved;
      EXPECT_EQ(dot || bar.hot_close() == s, told) << "picture and description agree at " << p;
      if (told) out += (out.empty() ? "" : " ") + std::to_string(p);
    }
    return out;
  }
  std::int64_t saved_reads() const { return word.calls("Document.Saved"); }
};

TEST_F(Unsaved, AnEditShowsWithinHalfASecondAndASaveClearsItWithinOne) {
  const float width = el(Part::face, slot(3)).width;
  word.edit(doc(3));
  EXPECT_EQ(addin.ticker().interval_ms(), Cadence::soon_ms);
  forms.advance(Cadence::soon_ms);
  EXPECT_EQ(marked(), "3") << "one tick a quarter second after the edit reads the active document";
  EXPECT_EQ(addin.ticker().interval_ms(), Cadence::foreground_ms) << "and no quick ticks follow";
  EXPECT_EQ(el(Part::face, slot(3)).width, width) << "the mark takes the close button's place";
  settle();
  word.save(doc(3));
  forms.advance(Cadence::soon_ms + Cadence::quick_ms);
  EXPECT_EQ(marked(), "") << "the quick ticks after the save read the marked document";
  settle();
  word.edit(doc(3));
  forms.advance(Cadence::soon_ms);
  EXPECT_EQ(marked(), "3") << "and the next edit shows again";
}

TEST_F(Unsaved, IdleWordIsReadOncePerDocumentPerSecond) {
  word.reset_calls();
  forms.advance(10 * Cadence::foreground_ms);
  EXPECT_EQ(saved_reads(), 3 * 10);
  EXPECT_EQ(word.calls("Window.Document"), 0) << "each tab's document was asked for once, before";
  // In the background: once every ten seconds.
  ws.other_program_in_front();
  ASSERT_EQ(addin.ticker().interval_ms(), Cadence::background_ms);
  word.reset_calls();
  forms.advance(Cadence::background_ms * 3);
  EXPECT_EQ(saved_reads(), 3 * 3);
}

// Typing into a document that shows the mark already wakes nothing; into a
// clean one, the active document is read at most four times a second.
TEST_F(Unsaved, TypingCostsNoMoreThanTheQuarterSecondRate) {
  word.edit(doc(3));
  settle();
  ASSERT_EQ(marked(), "3");
  word.reset_calls();
  for (int i = 0; i < 100; ++i) {
    word.edit(doc(3));
    forms.advance(10);
  }
  EXPECT_EQ(addin.ticker().interval_ms(), Cadence::foreground_ms) << "no wake-up";
  EXPECT_LE(saved_reads(), 3);

  word.save(doc(3));
  settle();
  ASSERT_EQ(marked(), "");
  word.reset_calls();
  for (int i = 0; i < 100; ++i) {
    word.raise_WindowSelectionChange();  // moving about without changing anything
    forms.advance(10);
  }
  // One second: a tick every quarter second, each a pass and a read of the
  // active document (one of them may be the safety net's, which reads every
  // document); no quick ticks.
  EXPECT_LE(word.calls("Windows.Count"), 4);
  EXPECT_LE(saved_reads(), 4 + 2);
  EXPECT_GE(saved_reads(), 3);
}

// A macro changes an inactive document without any event: the safety net
// shows it within a second.
TEST_F(Unsaved, ChangesWithoutAnEventShowWithinASecond) {
  doc(1).set_saved(false);
  forms.advance(Cadence::foreground_ms);
  EXPECT_EQ(marked(), "1");
  doc(1).set_saved(true);
  forms.advance(Cadence::foreground_ms);
  EXPECT_EQ(marked(), "");
}

// A save clears the mark of a document that is not the active one (Save
// All), on the quick ticks that follow Word's announcement.
TEST_F(Unsaved, ASaveOfAnotherDocumentClearsItsMarkOnTheQuickTicks) {
  doc(1).set_saved(false);
  doc(2).set_saved(false);
  forms.advance(Cadence::foreground_ms);
  ASSERT_EQ(marked(), "1 2");
  word.save(doc(1));
  word.reset_calls();
  forms.advance(300);
  EXPECT_EQ(marked(), "2");
  EXPECT_LE(saved_reads(), 2) << "only the marked documents are read after a save";
}

TEST_F(Unsaved, AFailingReadShowsNoMark) {
  word.edit(doc(3));
  settle();
  ASSERT_EQ(marked(), "3");
  word.fail("Document.Saved");
  forms.advance(Cadence::foreground_ms);
  EXPECT_EQ(marked(), "");
  EXPECT_EQ(strip(), "Doc1 Doc2 Doc3*") << "nothing else changes";
  word.clear_failures();
  forms.advance(Cadence::foreground_ms);
  EXPECT_EQ(marked(), "3");
  word.fail("Window.Document");  // held since the first read: not asked again
  forms.advance(Cadence::foreground_ms);
  EXPECT_EQ(marked(), "3");
}

// The hot close button shows its cross; leaving it brings the dot back.
TEST_F(Unsaved, TheHotCloseButtonShowsItsCross) {
  word.edit(doc(3));
  settle();
  forms.mouse_move({Part::close_button, slot(3).value}, 0);
  EXPECT_EQ(el(Part::close_button, slot(3)).picture, Picture::close_hot);
  forms.mouse_move({Part::face, slot(1).value}, 0);
  EXPECT_EQ(el(Part::close_button, slot(3)).picture, Picture::close_unsaved);
  EXPECT_EQ(marked(), "3");
}

// The mark follows its tab when tabs move or leave, and a slot taken up by a
// new tab starts without it.
TEST_F(Unsaved, TheMarkFollowsItsTab) {
  doc(1).set_saved(false);
  forms.advance(Cadence::foreground_ms);
  ASSERT_EQ(marked(), "1");
  addin.model().move(Position(1), Position(3));
  EXPECT_EQ(strip(), "Doc2 Doc3* Doc1");
  EXPECT_EQ(marked(), "3");
  forms.advance(Cadence::foreground_ms);
  EXPECT_EQ(marked(), "3") << "the documents held moved with their tabs";
  const Slot was = slot(3);
  word.close_document(doc(1));
  tick();
  word.open_document(u"Fresh");
  tick();
  ASSERT_EQ(slot(3), was);
  EXPECT_EQ(marked(), "");
  EXPECT_EQ(el(Part::close_button, was).picture, Picture::close_normal);
}

// Word closes a window while the add-in reads a document's state (a call
// may run a message loop): the pass stops, no tab takes another's mark.
TEST_F(Unsaved, TabsChangingDuringAReadMarkNothing) {
  doc(2).set_saved(false);
  doc(3).set_saved(false);
  bool closed = false;
  word.on_call("Document.Saved", [&] {
    if (std::exchange(closed, true)) return;
    word.close_document(doc(1));
    addin.poll();  // the tab leaves inside the call
  });
  forms.advance(Cadence::foreground_ms);
  EXPECT_EQ(strip(), "Doc2 Doc3*");
  EXPECT_EQ(marked(), "");
  word.on_call("Document.Saved", nullptr);
  forms.advance(Cadence::foreground_ms);
  EXPECT_EQ(marked(), "1 2");
  EXPECT_EQ(invariants(), "");
}

TEST_F(Unsaved, ReleasingWordLetsGoOfEveryDocument) {
  word.edit(doc(3));
  settle();
  addin.release_word();
  EXPECT_EQ(word.live_refs(), 0);
}

// A main window per document: every bar shows every tab's mark, and a bar
// built after the mark appeared shows it from the start.
class UnsavedSdi : public ::testing::Test, public SdiWord {};

TEST_F(UnsavedSdi, EveryBarShowsTheMarkAndALateBarToo) {
  sim::SimWindow& alpha = open(u"Alpha");
  open(u"Beta");
  start();
  tick(5);
  word.edit(alpha.document());
  forms.advance(Cadence::foreground_ms);
  ASSERT_EQ(docked_frames(), 2);
  for (const auto& f : addin.frames()) {
    if (!f->bar().loaded()) continue;
    const Slot s = f->bar().slot_at(Position(1));
    EXPECT_EQ(form_of(*f).element({Part::close_button, static_cast<std::int16_t>(s.value)}).picture,
              Picture::close_unsaved);
    EXPECT_TRUE(form_of(*f).element({Part::face, static_cast<std::int16_t>(s.value)}).unsaved);
  }
  sim::SimWindow& gamma = open(u"Gamma");
  tick(5);
  ASSERT_EQ(docked_frames(), 3);
  Frame* late = frame_of(gamma);
  ASSERT_NE(late, nullptr);
  const Slot s = late->bar().slot_at(Position(1));
  EXPECT_EQ(form_of(*late).element({Part::close_button, static_cast<std::int16_t>(s.value)}).picture,
            Picture::close_unsaved);
}

}  // namespace
}  // namespace plovera::testing
