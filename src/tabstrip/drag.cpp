// Reordering tabs by dragging one and dropping it elsewhere on the bar. Only
// the bar's order changes: Word's own window list is not touched, and `wins`
// is permuted together with `taborder` so each tab keeps its window.
#include "addin/addin.h"
#include "tabstrip/frm_addin.h"
#include "tabstrip/numbers.h"

namespace plovera {

using host::Part;

namespace {
constexpr float kGap = 30.0f;
}  // namespace

// Puts tab Source at the position of tab des; the tabs in between move one
// place towards Source's old position. Only those tabs, des and Source are
// re-placed, with one tabpos each.
void frmAddIn::movetab(std::int32_t Source, std::int32_t des) {
  if (Source == des) return;
  host::Form& f = form();
  const host::Ref<host::Window> w = wins(ctlpos(Source));
  const std::int32_t sp = ctlpos(Source), dp = ctlpos(des);
  if (dp < sp) {
    tabpos(Source, round_half_even(f.Left(Image1(des))));
    tabpos(des, round_half_even(face_right(Source) + kGap));
    for (std::int32_t q = dp + 1; q <= sp - 1; ++q)
      tabpos(taborder(q), round_half_even(face_right(taborder(q - 1)) + kGap));
    for (std::int32_t q = sp; q >= dp + 1; --q) {
      taborder(q) = taborder(q - 1);
      ctlpos(taborder(q)) = q;
      wins(q) = wins(q - 1);
    }
  } else {
    for (std::int32_t q = sp + 1; q <= dp; ++q) {
      const std::int32_t t = taborder(q);
      // At q = 2 the dragged tab is still first: its old Left is the start.
      const float x = q == 2 ? f.Left(Image1(taborder(1))) : face_right(taborder(q - 2)) + kGap;
      tabpos(t, round_half_even(x));
      taborder(q - 1) = taborder(q);
      ctlpos(taborder(q - 1)) = q - 1;
      wins(q - 1) = wins(q);
    }
    tabpos(Source, round_half_even(face_right(des) + kGap));
  }
  ctlpos(Source) = dp;
  taborder(dp) = Source;
  wins(dp) = w;
  bringintoview(Source);
}

// A drop on the bar's background: the destination follows from where X lies.
// A gap between faces belongs to the face nearer the dragged tab, so the tab
// lands exactly in the gap where it was dropped.
void frmAddIn::formdrag(std::int16_t source, float X, float /*Y*/) {
  host::Form& f = form();
  const std::int32_t s = source, n = tabcount;
  if (X <= f.Width(Ileft) && f.Visible(Ileft)) return movetab(s, taborder(1));
  if (X >= f.Left(Iright) && f.Visible(Iright)) return movetab(s, taborder(n));
  if (X <= f.Left(Image1(taborder(1)))) return movetab(s, taborder(1));
  if (face_right(taborder(n)) <= X) return movetab(s, taborder(n));
  if (X < f.Left(Image1(s))) {
    for (std::int32_t u = ctlpos(s) - 1; u >= 1; --u) {
      const float L = f.Left(Image1(taborder(u))), W = f.Width(Image1(taborder(u)));
      if (L - kGap <= X && X <= L + W) return movetab(s, taborder(u));
    }
  } else {
    for (std::int32_t u = ctlpos(s) + 1; u <= n; ++u) {
      const float L = f.Left(Image1(taborder(u))), W = f.Width(Image1(taborder(u)));
      if (L <= X && X <= L + W + kGap) return movetab(s, taborder(u));
    }
  }
}

bool frmAddIn::tab_in_strip(std::int32_t c) {
  if (c < 1 || c > ctlpos.last) return false;
  const std::int32_t p = ctlpos(c);
  return p >= 1 && p <= tabcount && taborder(p) == c;
}

// Moves, then (unless dropped on a close button) activates the dragged
// tab's window twice and gives Word the foreground. A window that closed
// during the drag is left for the next pass to remove.
void frmAddIn::drop_on_tab(std::int32_t Source, std::int32_t des, bool activate) {
  movetab(Source, des);
  if (!activate) return;
  host::Ref<host::Window> w = wins(ctlpos(Source));
  ignore_errors([&] { w->Activate(); });
  ignore_errors([&] { w->Activate(); });
  foreground_to_word();
}

// A drop whose dragged tab was removed meanwhile (its window closed during
// the drag) is ignored: there is nothing left to move.
void frmAddIn::DragDrop(host::Element target, std::int16_t source, float x, float y) {
  run_event([&] {
    if (!tab_in_strip(source)) return;
    switch (target.part) {
      case Part::face:
      case Part::icon:
      case Part::caption:
        if (tab_in_strip(target.index)) drop_on_tab(source, target.index, true);
        return;
      case Part::close_button:
        if (tab_in_strip(target.index)) drop_on_tab(source, target.index, false);
        return;
      case Part::left_arrow: return drop_on_tab(source, taborder(1), true);
      case Part::right_arrow: return drop_on_tab(source, taborder(tabcount), true);
      case Part::bar:
        formdrag(source, x, y);
        return drop_on_tab(source, source, true);
    }
  });
}

}  // namespace plovera
