// Scenario checks on the add-in's tab bar: where it sits in Word's main
// window (or in the frame a trailing "frame N" names) and what its tabs and
// arrows show.
#include <cwchar>

#include "bar_query.h"
#include "runner.h"

namespace standin {
namespace {

using plovera::host::Part;
using plovera::host::Picture;

int number(const std::wstring& word) { return static_cast<int>(std::wcstol(word.c_str(), nullptr, 10)); }

// Twips per pixel at `dpi`: 1440 / dpi rounded to the nearest whole number,
// halves to even.
int twips_per_pixel(int dpi) {
  const int q = 1440 / dpi, r = 1440 % dpi;
  if (2 * r > dpi || (2 * r == dpi && q % 2 == 1)) return q + 1;
  return q;
}

RECT screen_rect(HWND w) {
  RECT r{};
  GetWindowRect(w, &r);
  return r;
}

std::wstring mismatch(const wchar_t* what, long got, long want) {
  return std::wstring(what) + L" is " + std::to_wstring(got) + L", expected " + std::to_wstring(want) + L"; ";
}

// The band between the top dock and the document area, as docking leaves it.
std::wstring docking_problems(Word& word, Frame& f, HWND bar) {
  if (GetParent(bar) != f.main()) return L"the bar is not a child of Word's main window";
  const int t = twips_per_pixel(word.dpi());
  const int band = (360 - 360 % t) / t;
  const RECT top = screen_rect(f.dock_top()), doc = screen_rect(f.document_area());
  const RECT right = screen_rect(f.dock_right()), b = screen_rect(bar);
  RECT main_window = screen_rect(f.main());
  const int width_points = MulDiv(main_window.right - main_window.left, 72, word.dpi());
  std::wstring p;
  if (b.top != top.bottom) p += mismatch(L"bar top", b.top, top.bottom);
  // A mirrored Word places its children from its right edge.
  if (word.mirrored() && b.right != top.right) p += mismatch(L"bar right", b.right, top.right);
  if (!word.mirrored() && b.left != top.left) p += mismatch(L"bar left", b.left, top.left);
  if (b.bottom - b.top != band + 2) p += mismatch(L"bar height", b.bottom - b.top, band + 2);
  if (b.right - b.left != (width_points * 20 - 80) / t)
    p += mismatch(L"bar width", b.right - b.left, (width_points * 20 - 80) / t);
  if (doc.top != top.bottom + band) p += mismatch(L"document area top", doc.top, top.bottom + band);
  if (right.top != top.bottom + band) p += mismatch(L"right dock top", right.top, top.bottom + band);
  if (doc.bottom != right.bottom) p += mismatch(L"document area bottom", doc.bottom, right.bottom);
  return p;
}

// Word's own layout, as it is without the bar: no bar window left (in the
// frame, and with `anywhere` none at the top level either), and the document
// area and right dock directly below the top dock.
std::wstring undocked_problems(Frame& f, bool anywhere) {
  std::wstring p;
  if (HWND bar = anywhere ? find_bar(f.main()) : find_bar_in(f.main()))
    p += GetParent(bar) == f.main() ? L"the tab bar is still a child of Word's main window; "
                                    : L"a tab bar window still exists; ";
  const RECT top = screen_rect(f.dock_top()), doc = screen_rect(f.document_area());
  const RECT right = screen_rect(f.dock_right());
  if (doc.top != top.bottom) p += mismatch(L"document area top", doc.top, top.bottom);
  if (right.top != top.bottom) p += mismatch(L"right dock top", right.top, top.bottom);
  if (doc.bottom != right.bottom) p += mismatch(L"document area bottom", doc.bottom, right.bottom);
  return p;
}

// The strip's geometry in its direction: right to left, each tab's close
// button at its left, then its caption, its icon at its right, and (while
// the tabs fit) the first tab 60 twips (4 pixels) from the bar's right edge;
// left to right the same from the left. The arrows stand at the bar's two
// edges in either direction.
std::wstring layout_problems(HWND bar, bool right_to_left) {
  std::wstring p;
  RECT client{};
  GetClientRect(bar, &client);
  const auto tabs = visible_tabs(bar);
  for (size_t i = 0; i < tabs.size(); ++i) {
    const TabInfo& t = tabs[i];
    const RECT &close = t.close.rect, &caption = t.caption.rect, &icon = t.icon.rect;
    const bool ordered = right_to_left ? close.right <= caption.left && caption.right <= icon.left
                                       : icon.right <= caption.left && caption.right <= close.left;
    if (!ordered) p += L"tab " + std::to_wstring(i + 1) + L" (from the left) is laid out the other way; ";
  }
  ElementInfo left, right;
  query_element(bar, Part::left_arrow, 0, left);
  query_element(bar, Part::right_arrow, 0, right);
  if (left.visible && left.rect.left != 0) p += mismatch(L"left arrow's left", left.rect.left, 0);
  if (right.visible && right.rect.right != client.right)
    p += mismatch(L"right arrow's right", right.rect.right, client.right);
  if (!left.visible && !tabs.empty()) {
    const long margin = right_to_left ? client.right - tabs.back().face.rect.right
                                      : tabs.front().face.rect.left;
    if (margin < 3 || margin > 5) p += mismatch(L"the first tab's distance from its edge", margin, 4);
  }
  return p;
}

// The 1-based position (left to right) of the one tab whose element shows
// `look`, 0 when none does, -1 when several do.
int position_showing(const std::vector<TabInfo>& tabs, bool close_button, Picture look) {
  int found = 0;
  for (size_t i = 0; i < tabs.size(); ++i) {
    const ElementInfo& e = close_button ? tabs[i].close : tabs[i].face;
    if (e.picture != static_cast<int>(look)) continue;
    found = found ? -1 : static_cast<int>(i + 1);
  }
  return found;
}

}  // namespace

Runner::Outcome Runner::bar_of(const Step& s, HWND& bar) {
  if (!session_.running()) return L"Word has quit";
  const int n = s.frame;
  Frame* frame = frame_of(session_.word(), n);
  if (!frame) return L"no frame " + std::to_wstring(n);
  bar = n ? find_bar_in(frame->main()) : find_bar(frame->main());
  if (!bar) return n ? L"there is no tab bar window in frame " + std::to_wstring(n) : L"there is no tab bar window";
  return L"";
}

void Runner::add_bar_checks() {
  auto bar_check = [this](const Step& s, std::function<Outcome(Word&, Frame&, HWND)> probe) {
    return poll([this, &s, probe]() -> Outcome {
      HWND bar = nullptr;
      const Outcome problem = bar_of(s, bar);
      if (!problem.empty()) return problem;
      Word& word = session_.word();
      return probe(word, *frame_of(word, s.frame), bar);
    });
  };
  handlers_[L"check docked"] = [=, this](const Step& s) { return bar_check(s, docking_problems); };
  handlers_[L"check undocked"] = [this](const Step& s) {
    return poll_word([&](Word& word) -> Outcome {
      const int n = s.frame;
      Frame* frame = frame_of(word, n);
      if (!frame) return L"no frame " + std::to_wstring(n);
      return undocked_problems(*frame, n == 0);
    });
  };
  handlers_[L"check tabs"] = [=, this](const Step& s) {
    return bar_check(s, [&](Word&, Frame&, HWND bar) -> Outcome {
      const auto tabs = visible_tabs(bar);
      if (tab_words(tabs) == expectation_words(s.args[0])) return L"";
      return L"the tabs are \"" + describe_tabs(tabs) + L"\"";
    });
  };
  // The scroll position: the first tab (from the left, counting from 1)
  // whose face starts right of the left arrow, clear of it.
  // In a mirrored Word the strip starts at the right: the first tab from
  // the right whose face ends left of the right arrow.
  handlers_[L"check first-in-view"] = [=, this](const Step& s) {
    return bar_check(s, [&](Word& word, Frame&, HWND bar) -> Outcome {
      ElementInfo left, right;
      query_element(bar, Part::left_arrow, 0, left);
      query_element(bar, Part::right_arrow, 0, right);
      RECT client{};
      GetClientRect(bar, &client);
      const LONG edge = left.visible ? left.rect.right : 0;
      const LONG right_edge = right.visible ? right.rect.left : client.right;
      const auto tabs = visible_tabs(bar);
      const size_t n = tabs.size();
      int first = 0;
      for (size_t i = 0; i < n && first == 0; ++i) {
        const bool in_view = word.mirrored() ? tabs[n - 1 - i].face.rect.right <= right_edge
                                             : tabs[i].face.rect.left >= edge;
        if (in_view) first = static_cast<int>(i) + 1;
      }
      if (first == number(s.args[0])) return L"";
      return L"the first tab in view is " + std::to_wstring(first);
    });
  };
  handlers_[L"check layout"] = [=, this](const Step& s) {
    return bar_check(s, [&](Word&, Frame&, HWND bar) -> Outcome {
      return layout_problems(bar, s.args[0] == L"rtl");
    });
  };
  handlers_[L"check arrows"] = [=, this](const Step& s) {
    return bar_check(s, [&](Word&, Frame&, HWND bar) -> Outcome {
      ElementInfo left, right;
      query_element(bar, Part::left_arrow, 0, left);
      query_element(bar, Part::right_arrow, 0, right);
      const bool want = s.args[0] == L"on";
      if (left.visible == want && right.visible == want) return L"";
      return std::wstring(L"left arrow ") + (left.visible ? L"shown" : L"hidden") + L", right arrow " +
             (right.visible ? L"shown" : L"hidden");
    });
  };
  // The tabs whose close button shows the mark for unsaved changes, as
  // positions ("1 3"), or "none".
  handlers_[L"check marks"] = [=, this](const Step& s) {
    return bar_check(s, [&](Word&, Frame&, HWND bar) -> Outcome {
      const auto tabs = visible_tabs(bar);
      std::vector<std::wstring> marked;
      for (size_t i = 0; i < tabs.size(); ++i)
        if (tabs[i].close.picture == static_cast<int>(Picture::close_unsaved))
          marked.push_back(std::to_wstring(i + 1));
      std::vector<std::wstring> want = expectation_words(s.args[0]);
      if (want == std::vector<std::wstring>{L"none"}) want.clear();
      if (marked == want) return L"";
      std::wstring got;
      for (const std::wstring& m : marked) got += (got.empty() ? L"" : L" ") + m;
      return L"the marked tabs are \"" + (got.empty() ? L"none" : got) + L"\"";
    });
  };
  // The caption of the tab at a position is that many pixels wide.
  handlers_[L"check caption-width"] = [=, this](const Step& s) {
    return bar_check(s, [&](Word&, Frame&, HWND bar) -> Outcome {
      const auto tabs = visible_tabs(bar);
      const size_t p = static_cast<size_t>(number(s.args[0]));
      if (p < 1 || p > tabs.size()) return L"there is no tab at " + s.args[0];
      const LONG width = tabs[p - 1].caption.rect.right - tabs[p - 1].caption.rect.left;
      if (width == number(s.args[1])) return L"";
      return L"the caption is " + std::to_wstring(width) + L" pixels wide";
    });
  };
  for (const wchar_t* kind : {L"check hot", L"check hotclose"}) {
    const bool close_button = std::wstring(kind) == L"check hotclose";
    handlers_[kind] = [=, this](const Step& s) {
      return bar_check(s, [&](Word&, Frame&, HWND bar) -> Outcome {
        const int hot = position_showing(visible_tabs(bar), close_button,
                                         close_button ? Picture::close_hot : Picture::face_hot);
        if (hot == number(s.args[0])) return L"";
        return hot < 0 ? L"several tabs look hot" : L"the hot tab is at position " + std::to_wstring(hot);
      });
    };
  }
}

}  // namespace standin
