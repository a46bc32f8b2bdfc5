// The simulated window system: the Win32 behaviour the add-in's docking,
// discovery and theme code are tested against.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "sim/sim_winsys.h"

namespace plovera::sim {
namespace {

using host::Hwnd;
using host::Rect;
using host::RegRoot;

std::string rect_text(const Rect& r) {
  return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) +
         "," + std::to_string(r.bottom);
}

// The children of `parent` as GetWindow walks them: first child, then the
// first sibling of that, then next siblings until 0.
std::vector<Hwnd> walk(SimWindowSystem& ws, Hwnd parent) {
  std::vector<Hwnd> seen;
  Hwnd first = ws.related_window(parent, host::WindowRelation::first_child);
  if (first) first = ws.related_window(first, host::WindowRelation::first_sibling);
  for (Hwnd h = first; h; h = ws.related_window(h, host::WindowRelation::next_sibling)) seen.push_back(h);
  return seen;
}

TEST(SimWindowTree, GetWindowWalksChildrenInZOrder) {
  SimWindowSystem ws;
  SimWordWindows word(ws);
  EXPECT_EQ(walk(ws, word.main), (std::vector<Hwnd>{word.dock_top, word.dock_left, word.dock_right,
                                                    word.dock_bottom, word.doc_area}));
  EXPECT_EQ(walk(ws, ws.desktop_window()), std::vector<Hwnd>{word.main});
  EXPECT_EQ(ws.related_window(word.page, host::WindowRelation::first_child), 0u);

  // Without SWP_NOZORDER the window goes to the top of its siblings.
  ws.place_window(word.doc_area, host::kTopOfZOrder, 0, 0, 10, 10, host::place::frame_changed);
  EXPECT_EQ(walk(ws, word.main).front(), word.doc_area);
  ws.place_window(word.dock_top, host::kTopOfZOrder, 0, 0, 10, 10, host::place::keep_z_order);
  EXPECT_EQ(walk(ws, word.main).front(), word.doc_area);
}

TEST(SimWindowTree, ClassCaptionAndFindWindowExAreExact) {
  SimWindowSystem ws;
  SimWordWindows word(ws);
  const std::u16string long_caption = std::u16string(300, u'x') + u" Документ 文書 \U0001F4C4";
  ws.set_caption(word.main, long_caption);
  std::u16string text;
  ws.window_text(word.main, text);
  EXPECT_EQ(text, long_caption);
  EXPECT_EQ(ws.window_text_length(word.main), static_cast<std::int32_t>(long_caption.size()));
  ws.window_class(word.doc_area, text);
  EXPECT_EQ(text, u"_WwF");
  ws.window_class(0, text);
  EXPECT_EQ(text, u"");

  EXPECT_EQ(ws.find_child(word.main, 0, u"MsoCommandBarDock", u"MsoDockRight"), word.dock_right);
  EXPECT_EQ(ws.find_child(word.main, 0, u"MsoCommandBarDock", u"msodockright"), 0u);
  EXPECT_EQ(ws.find_child(word.main, word.dock_top, u"MsoCommandBarDock", nullptr), word.dock_left);
  EXPECT_EQ(ws.find_child(word.main, 0, u"_WwB", nullptr), 0u);  // not a direct child
}

TEST(SimWindowPlace, SetWindowPosIsRelativeToTheParentAndMovesDescendants) {
  SimWindowSystem ws;
  SimWordWindows word(ws);  // main window at 40,30, 1000 x 700
  EXPECT_EQ(rect_text(ws.rect(word.doc_area)), "40,130,1010,730");

  ASSERT_TRUE(ws.place_window(word.doc_area, 0, 0, 124, 970, 576, host::place::keep_z_order));
  EXPECT_EQ(rect_text(ws.rect(word.doc_area)), "40,154,1010,730");
  // The child moved with its parent and kept its size (only Word resizes it).
  EXPECT_EQ(rect_text(ws.rect(word.view)), "40,154,1010,754");
  EXPECT_EQ(ws.moves(word.doc_area), 1);
  EXPECT_EQ(ws.last_pos(word.doc_area).y, 124);

  ws.fail("SetWindowPos", 1);
  EXPECT_FALSE(ws.place_window(word.doc_area, 0, 0, 0, 1, 1, host::place::keep_z_order));
  EXPECT_EQ(rect_text(ws.rect(word.doc_area)), "40,154,1010,730");

  Rect r{1, 2, 3, 4};
  EXPECT_FALSE(ws.window_rect(0, r));
  EXPECT_FALSE(ws.window_rect(0x7777, r));
  EXPECT_EQ(rect_text(r), "1,2,3,4");

  word.relayout(800, 500);  // Word's own layout undoes the push-down
  EXPECT_EQ(rect_text(ws.rect(word.doc_area)), "40,130,810,530");
  EXPECT_EQ(rect_text(ws.rect(word.dock_right)), "810,130,840,530");
}

TEST(SimWindowPlace, SetParentKeepsTheRelativePlace) {
  SimWindowSystem ws;
  SimWordWindows word(ws);
  const Hwnd bar = ws.create_window(0, u"PloveraBar", u"Plovera tab bar", {0, 0, 541, 24});
  EXPECT_EQ(ws.parent_of(bar), 0u);

  EXPECT_EQ(ws.set_parent(bar, word.main), ws.desktop());
  EXPECT_EQ(ws.parent_of(bar), word.main);
  EXPECT_EQ(rect_text(ws.rect(bar)), "40,30,581,54");
  EXPECT_EQ(walk(ws, word.main).front(), bar);
  EXPECT_EQ(ws.set_parent(word.main, bar), 0u);  // no window becomes its own descendant

  ws.destroy_window(word.main);
  EXPECT_FALSE(ws.exists(bar));
  EXPECT_EQ(ws.parent_of(bar), 0u);
}

// ---- Registry ----------------------------------------------------------------------

constexpr const char16_t* kCommon = u"Software\\Microsoft\\Office\\12.0\\Common";

TEST(SimRegistry, StringQueryFollowsWin32) {
  SimWindowSystem ws;
  ws.set_string(RegRoot::current_user, kCommon, u"Theme", u"abc");
  host::RegKey key = 0;
  ASSERT_EQ(ws.open_key(RegRoot::current_user, u"software\\microsoft\\OFFICE\\12.0\\common",
                            0x2003F, key),
            host::reg::ok);
  EXPECT_EQ(ws.opened_access(), std::vector<std::uint32_t>{0x2003F});

  std::uint32_t type = 0, size = 0;
  EXPECT_EQ(ws.query_value(key, u"theme", type, nullptr, size), host::reg::ok);
  EXPECT_EQ(type, host::reg::type_string);
  EXPECT_EQ(size, 8u);  // three characters and the NUL, two bytes each

  std::uint8_t buffer[16];
  std::fill(std::begin(buffer), std::end(buffer), 0xEE);
  size = 6;
  EXPECT_EQ(ws.query_value(key, u"Theme", type, buffer, size), host::reg::more_data);
  EXPECT_EQ(size, 8u);
  EXPECT_EQ(buffer[0], 0xEE);
  size = sizeof buffer;
  EXPECT_EQ(ws.query_value(key, u"Theme", type, buffer, size), host::reg::ok);
  EXPECT_EQ(size, 8u);
  EXPECT_EQ(std::vector<std::uint8_t>(buffer, buffer + 9),
            (std::vector<std::uint8_t>{'a', 0, 'b', 0, 'c', 0, 0, 0, 0xEE}));

  type = 4;
  size = sizeof buffer;
  EXPECT_EQ(ws.query_value(key, u"Missing", type, buffer, size), host::reg::not_found);
  EXPECT_EQ(type, 4u);
  EXPECT_EQ(size, sizeof buffer);
  EXPECT_EQ(ws.open_keys(), 1);
  EXPECT_EQ(ws.close_key(key), host::reg::ok);
  EXPECT_EQ(ws.open_keys(), 0);
  EXPECT_EQ(ws.query_value(key, u"Theme", type, buffer, size), host::reg::invalid_handle);
}

TEST(SimRegistry, KeysValuesAndTypes) {
  SimWindowSystem ws;
  ws.set_dword(RegRoot::current_user, kCommon, u"Theme", 0xFFFFFFFFu);
  ws.set_multi(RegRoot::current_user, kCommon, u"List", {u"a", u"b"});
  host::RegKey key = 99;
  EXPECT_EQ(ws.open_key(RegRoot::local_machine, kCommon, 1, key), host::reg::not_found);
  EXPECT_EQ(key, 99u);
  EXPECT_EQ(ws.open_key(RegRoot::current_user, u"Software\\Microsoft\\Off", 1, key),
            host::reg::not_found);
  ASSERT_EQ(ws.open_key(RegRoot::current_user, u"Software\\Microsoft", 1, key),
            host::reg::ok);  // a key on the path of a stored one
  ws.close_key(key);
  ASSERT_EQ(ws.open_key(RegRoot::current_user, kCommon, 1, key), host::reg::ok);

  std::uint8_t buffer[16] = {};
  std::uint32_t type = 0, size = sizeof buffer;
  ws.query_value(key, u"Theme", type, buffer, size);
  EXPECT_EQ(type, host::reg::type_dword);
  EXPECT_EQ(std::vector<std::uint8_t>(buffer, buffer + size),
            (std::vector<std::uint8_t>{0xFF, 0xFF, 0xFF, 0xFF}));
  size = sizeof buffer;
  ws.query_value(key, u"List", type, buffer, size);
  EXPECT_EQ(type, host::reg::type_multi_string);
  EXPECT_EQ(size, 10u);  // "a\0b\0\0" in UTF-16

  ws.remove_value(RegRoot::current_user, kCommon, u"THEME");
  size = sizeof buffer;
  EXPECT_EQ(ws.query_value(key, u"Theme", type, buffer, size), host::reg::not_found);
  ws.fail("RegCloseKey", 1);
  EXPECT_EQ(ws.close_key(key), host::reg::access_denied);
  EXPECT_EQ(ws.open_keys(), 1);  // a failing close leaves the key open
}

// A watch answers "changed" once for any number of writes of its own keys'
// values (a missing key counts once it gets one), never for other keys.
TEST(SimRegistry, WatchesSeeTheirOwnKeysOnce) {
  SimWindowSystem ws;
  auto watch = ws.watch_keys(host::RegRoot::current_user, {u"Software\\A", u"Software\\B"});
  ASSERT_NE(watch, nullptr);
  EXPECT_FALSE(watch->changed());
  ws.set_dword(host::RegRoot::current_user, u"software\\a", u"x", 1);
  ws.set_dword(host::RegRoot::current_user, u"Software\\A", u"x", 2);
  EXPECT_TRUE(watch->changed());
  EXPECT_FALSE(watch->changed());
  ws.set_dword(host::RegRoot::current_user, u"Software\\A\\Sub", u"x", 1);
  ws.set_dword(host::RegRoot::local_machine, u"Software\\B", u"x", 1);
  ws.remove_value(host::RegRoot::current_user, u"Software\\B", u"absent");
  EXPECT_FALSE(watch->changed());
  ws.set_dword(host::RegRoot::current_user, u"Software\\B", u"x", 1);  // B appears
  EXPECT_TRUE(watch->changed());
  ws.remove_value(host::RegRoot::current_user, u"Software\\B", u"x");
  EXPECT_TRUE(watch->changed());
  EXPECT_EQ(ws.registry_watches(), 1);
  watch.reset();
  EXPECT_EQ(ws.registry_watches(), 0);
  ws.fail("RegNotifyChangeKeyValue", 1);
  EXPECT_EQ(ws.watch_keys(host::RegRoot::current_user, {u"Software\\A"}), nullptr);
}

TEST(SimScreen, TwipsPerPixelRoundsHalfToEven) {
  SimWindowSystem ws;
  EXPECT_EQ(ws.twips_per_pixel_y(), 15);
  ws.log_pixels(120, 144);
  EXPECT_EQ(ws.twips_per_pixel_x(), 12);
  EXPECT_EQ(ws.twips_per_pixel_y(), 10);
  ws.log_pixels(160, 115);  // 9 exactly; 12.52 rounds up
  EXPECT_EQ(ws.twips_per_pixel_x(), 9);
  EXPECT_EQ(ws.twips_per_pixel_y(), 13);
  ws.log_pixels(128, 576);  // 11.25 rounds down; 2.5 goes to the even 2
  EXPECT_EQ(ws.twips_per_pixel_x(), 11);
  EXPECT_EQ(ws.twips_per_pixel_y(), 2);
  EXPECT_EQ(ws.dpi_x(), 128);
}

}  // namespace
}  // namespace plovera::sim
