// The tab model and a bar's slot tables on their own: no form, no bar, no
// add-in. The model's order is checked against a plain list and against a
// view that mirrors it; the slot tables against the order they must keep.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "scripted_word.h"
#include "tabstrip/slot_map.h"

namespace plovera::testing {
namespace {

std::string narrow(const std::u16string& s) { return std::string(s.begin(), s.end()); }

class Model : public ::testing::Test {
 protected:
  // Appends a tab for a new window captioned `caption`.
  ScriptedWindow& append(const std::u16string& caption) {
    ScriptedWindow& w = word.open(caption);
    model.append(host::Ref<host::Window>(&w), caption);
    return w;
  }
  void append_all(std::initializer_list<const char16_t*> captions) {
    for (const char16_t* c : captions) append(c);
  }
  // The model's captions, left to right.
  std::string order() const {
    std::string s;
    for (std::int32_t p = 1; p <= model.count(); ++p)
      s += (p > 1 ? " " : "") + narrow(model.caption_at(Position(p)));
    return s;
  }
  // Empty when the model's tables agree with one another and the view
  // shows what the model holds.
  std::string consistency() const {
    if (static_cast<std::int32_t>(view.shown.size()) != model.count())
      return "the view shows " + std::to_string(view.shown.size()) + " tabs";
    for (std::int32_t p = 1; p <= model.count(); ++p) {
      const Position at(p);
      const auto& window = model.window_at(at);
      if (model.position_of(window) != at) return "position_of disagrees at " + std::to_string(p);
      if (!model.has_tab(window)) return "has_tab forgets the window at " + std::to_string(p);
      auto* scripted = static_cast<ScriptedWindow*>(window.get());
      if (scripted->caption != model.caption_at(at))
        return "caption at " + std::to_string(p) + " is another window's";
      if (view.shown[static_cast<std::size_t>(p - 1)] != model.caption_at(at))
        return "the view shows another caption at " + std::to_string(p);
    }
    return {};
  }

  ScriptedWord word;
  TabModel model;
  MirrorView view{model};
};

TEST_F(Model, AppendsAtTheRightEndAndHoldsOneReferencePerTab) {
  ScriptedWindow& a = append(u"A");
  append_all({u"B", u"C"});
  EXPECT_EQ(order(), "A B C");
  EXPECT_EQ(consistency(), "");
  EXPECT_EQ(a.refs(), 1);
  EXPECT_EQ(model.position_of(host::Ref<host::Window>(&a)), Position(1));
  ScriptedWindow stranger(u"X");
  EXPECT_EQ(model.position_of(host::Ref<host::Window>(&stranger)), Position());
  EXPECT_FALSE(model.has_tab(host::Ref<host::Window>(&stranger)));
}

TEST_F(Model, StopsAtTheTabLimit) {
  for (std::int32_t i = 0; i < kMaxTabs; ++i) append(u"T");
  ScriptedWindow& extra = append(u"extra");
  EXPECT_EQ(model.count(), kMaxTabs);
  EXPECT_FALSE(model.has_tab(host::Ref<host::Window>(&extra)));
  EXPECT_EQ(extra.refs(), 0);
  EXPECT_EQ(view.shown.size(), static_cast<std::size_t>(kMaxTabs));
}

struct MoveCase {
  std::int32_t from, to;
  const char* order;
};

// Every kind of move on a strip of five: to either end, by one, over
// several, and onto itself.
TEST_F(Model, MovesCarryWindowAndCaptionTogether) {
  const MoveCase cases[] = {
      {1, 5, "B C D E A"}, {5, 1, "E A B C D"}, {2, 3, "A C B D E"}, {3, 2, "A C B D E"},
      {2, 4, "A C D B E"}, {4, 2, "A D B C E"}, {3, 3, "A B C D E"}, {1, 2, "B A C D E"},
      {5, 4, "A B C E D"},
  };
  for (const MoveCase& c : cases) {
    TabModel fresh;
    MirrorView mirror(fresh);
    for (const char16_t* caption : {u"A", u"B", u"C", u"D", u"E"})
      fresh.append(host::Ref<host::Window>(&word.open(caption)), caption);
    fresh.move(Position(c.from), Position(c.to));
    std::string captions, windows;
    for (std::int32_t p = 1; p <= fresh.count(); ++p) {
      const auto& window = fresh.window_at(Position(p));
      captions += (p > 1 ? " " : "") + narrow(fresh.caption_at(Position(p)));
      windows += (p > 1 ? " " : "") + narrow(static_cast<ScriptedWindow*>(window.get())->caption);
      EXPECT_EQ(fresh.position_of(window), Position(p)) << c.from << " -> " << c.to;
    }
    EXPECT_EQ(captions, c.order) << c.from << " -> " << c.to;
    EXPECT_EQ(windows, c.order) << c.from << " -> " << c.to << ": the windows";
    EXPECT_EQ(mirror.strip(), c.order) << c.from << " -> " << c.to << ": the view";
  }
}

TEST_F(Model, RemovalReleasesTheWindowAtOnceAndClosesTheGap) {
  append_all({u"A", u"B", u"C", u"D"});
  auto* b = static_cast<ScriptedWindow*>(model.window_at(Position(2)).get());
  model.remove_at(Position(2));
  EXPECT_EQ(b->refs(), 0);
  EXPECT_FALSE(model.has_tab(host::Ref<host::Window>(b)));
  EXPECT_EQ(order(), "A C D");
  model.remove_at(Position(3));
  EXPECT_EQ(order(), "A C");
  model.remove_at(Position(1));
  EXPECT_EQ(order(), "C");
  EXPECT_EQ(consistency(), "");
}

TEST_F(Model, ClearReleasesEveryWindow) {
  ScriptedWindow& a = append(u"A");
  ScriptedWindow& b = append(u"B");
  model.clear();
  EXPECT_EQ(model.count(), 0);
  EXPECT_EQ(a.refs() + b.refs(), 0);
  EXPECT_TRUE(view.shown.empty());
  EXPECT_FALSE(model.has_tab(host::Ref<host::Window>(&a)));
}

TEST_F(Model, RenameChangesOnlyThatTab) {
  append_all({u"A", u"B", u"C"});
  static_cast<ScriptedWindow*>(model.window_at(Position(2)).get())->caption = u"B2";
  EXPECT_TRUE(model.caption_differs(Position(2), u"B2"));
  EXPECT_FALSE(model.caption_differs(Position(1), u"A"));
  model.rename(Position(2), u"B2");
  EXPECT_EQ(order(), "A B2 C");
  EXPECT_FALSE(model.caption_differs(Position(2), u"B2"));
  EXPECT_EQ(consistency(), "");
}

TEST_F(Model, PositionsOutsideTheStripFailAsAFailingCallWould) {
  append_all({u"A", u"B"});
  for (std::int32_t bad : {0, 3, -1}) {
    const Position p(bad);
    EXPECT_THROW(model.window_at(p), host_error) << bad;
    EXPECT_THROW(model.caption_at(p), host_error) << bad;
    EXPECT_THROW(model.remove_at(p), host_error) << bad;
    EXPECT_THROW(model.rename(p, u"x"), host_error) << bad;
    EXPECT_THROW(model.move(p, Position(1)), host_error) << bad;
    EXPECT_THROW(model.move(Position(1), p), host_error) << bad;
  }
  EXPECT_EQ(order(), "A B");
}

// A view that cannot build the new tab keeps the window out of the model
// (the next pass tries again); a view that fails once the tab is recorded
// does not keep the other views from hearing of it.
TEST_F(Model, AViewFailingMidAppend) {
  MirrorView second(model);
  append(u"A");
  second.prepare_failures = 1;
  ScriptedWindow& b = word.open(u"B");
  EXPECT_THROW(model.append(host::Ref<host::Window>(&b), u"B"), host_error);
  EXPECT_EQ(order(), "A");
  EXPECT_FALSE(model.has_tab(host::Ref<host::Window>(&b)));
  EXPECT_EQ(b.refs(), 0);
  EXPECT_EQ(view.strip(), "A");
  EXPECT_EQ(second.strip(), "A");

  model.append(host::Ref<host::Window>(&b), u"B");  // the next attempt succeeds
  EXPECT_EQ(order(), "A B");

  view.appended_failures = 1;
  ScriptedWindow& c = word.open(u"C");
  EXPECT_THROW(model.append(host::Ref<host::Window>(&c), u"C"), host_error);
  EXPECT_EQ(order(), "A B C");
  EXPECT_EQ(second.strip(), "A B C");
  EXPECT_EQ(consistency(), "");
}

// Random appends, moves, removals and renames against a plain list: the
// model, its lookup tables and the view must follow the list at every step.
TEST_F(Model, RandomEditsFollowAPlainList) {
  std::mt19937 rng(20);
  std::vector<ScriptedWindow*> expected;
  int next = 0;
  const auto pick = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng); };
  for (int step = 0; step < 2000; ++step) {
    const int n = static_cast<int>(expected.size());
    const int what = n == 0 ? 0 : pick(4);
    if (what == 0) {
      std::u16string caption = u"W";
      for (char c : std::to_string(next++)) caption += static_cast<char16_t>(c);
      expected.push_back(&append(caption));
    } else if (what == 1) {
      const int from = pick(n), to = pick(n);
      model.move(Position(from + 1), Position(to + 1));
      ScriptedWindow* moving = expected[static_cast<std::size_t>(from)];
      expected.erase(expected.begin() + from);
      expected.insert(expected.begin() + to, moving);
    } else if (what == 2) {
      const int at = pick(n);
      model.remove_at(Position(at + 1));
      EXPECT_EQ(expected[static_cast<std::size_t>(at)]->refs(), 0);
      expected.erase(expected.begin() + at);
    } else {
      const int at = pick(n);
      expected[static_cast<std::size_t>(at)]->caption += u"'";
      model.rename(Position(at + 1), expected[static_cast<std::size_t>(at)]->caption);
    }
    ASSERT_EQ(model.count(), static_cast<std::int32_t>(expected.size())) << "step " << step;
    for (std::size_t i = 0; i < expected.size(); ++i)
      ASSERT_EQ(model.window_at(Position(static_cast<std::int32_t>(i) + 1)).get(), expected[i])
          << "step " << step << ", position " << i + 1;
    ASSERT_EQ(consistency(), "") << "step " << step;
  }
}

// A bar's slot tables: slot_at and position_of stay each other's inverse
// through appends, removals and moves, and a slot freed by a removal no
// longer draws a tab.
class Slots : public ::testing::Test {
 protected:
  std::string order() const {
    std::string s;
    for (std::int32_t p = 1; p <= map.count(); ++p)
      s += (p > 1 ? " " : "") + std::to_string(map.slot_at(Position(p)).value);
    return s;
  }
  std::string inverse_broken() const {
    for (std::int32_t p = 1; p <= map.count(); ++p) {
      const Slot s = map.slot_at(Position(p));
      if (map.position_of(s) != Position(p)) return "position_of(slot_at(" + std::to_string(p) + "))";
      if (!map.contains(s)) return "slot " + std::to_string(s.value) + " not contained";
    }
    return {};
  }
  SlotMap map;
};

TEST_F(Slots, AppendRemoveAndMoveKeepTheTablesInverse) {
  for (int s : {3, 1, 4, 2, 5}) map.append(Slot(s));
  EXPECT_EQ(order(), "3 1 4 2 5");
  map.move(Position(1), Position(4));
  EXPECT_EQ(order(), "1 4 2 3 5");
  map.move(Position(5), Position(2));
  EXPECT_EQ(order(), "1 5 4 2 3");
  EXPECT_EQ(inverse_broken(), "");
  map.remove_at(Position(2));
  EXPECT_EQ(order(), "1 4 2 3");
  EXPECT_FALSE(map.contains(Slot(5)));
  EXPECT_EQ(inverse_broken(), "");
  map.append(Slot(5));  // a freed slot is reused for a new tab
  EXPECT_EQ(order(), "1 4 2 3 5");
  EXPECT_EQ(map.position_of(Slot(5)), Position(5));
}

TEST_F(Slots, OutOfRangeFailsAndEmptyEntriesReadAsNone) {
  map.append(Slot(1));
  EXPECT_THROW(map.slot_at(Position(kMaxTabs + 1)), host_error);
  EXPECT_THROW(map.slot_at(Position(-1)), host_error);
  EXPECT_THROW(map.position_of(Slot(SlotMap::kMaxSlot + 1)), host_error);
  EXPECT_EQ(map.slot_at(Position(2)), Slot());  // inside the tables: no tab there
  EXPECT_FALSE(map.contains(Slot(0)));
  EXPECT_FALSE(map.contains(Slot(SlotMap::kMaxSlot + 1)));
  map.forget_tabs();
  EXPECT_EQ(map.count(), 0);
  EXPECT_FALSE(map.contains(Slot(1)));
}

TEST_F(Slots, RandomEditsFollowAPlainList) {
  std::mt19937 rng(7);
  std::vector<int> expected;
  std::vector<int> free_slots;
  int next_slot = 1;
  const auto pick = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng); };
  for (int step = 0; step < 3000; ++step) {
    const int n = static_cast<int>(expected.size());
    const int what = n == 0 ? 0 : pick(3);
    if (what == 0) {
      int s = next_slot;
      if (!free_slots.empty()) {
        s = free_slots.back();
        free_slots.pop_back();
      } else {
        ++next_slot;
      }
      map.append(Slot(s));
      expected.push_back(s);
    } else if (what == 1) {
      const int from = pick(n), to = pick(n);
      map.move(Position(from + 1), Position(to + 1));
      const int moving = expected[static_cast<std::size_t>(from)];
      expected.erase(expected.begin() + from);
      expected.insert(expected.begin() + to, moving);
    } else {
      const int at = pick(n);
      map.remove_at(Position(at + 1));
      free_slots.push_back(expected[static_cast<std::size_t>(at)]);
      expected.erase(expected.begin() + at);
    }
    std::string want;
    for (std::size_t i = 0; i < expected.size(); ++i)
      want += (i > 0 ? " " : "") + std::to_string(expected[i]);
    ASSERT_EQ(order(), want) << "step " << step;
    ASSERT_EQ(inverse_broken(), "") << "step " << step;
    for (int s : free_slots) ASSERT_FALSE(map.contains(Slot(s))) << "step " << step;
  }
}

}  // namespace
}  // namespace plovera::testing
