// Keeping the tabs in step with Word's windows by polling, and removing the
// tab of a window that has gone.
#include "addin/addin.h"
#include "tabstrip/frm_addin.h"
#include "tabstrip/numbers.h"

namespace plovera {

using host::Part;

// One synchronisation pass, run by every tick: select the tab of Word's
// active window, refresh changed captions, remove tabs whose window no longer
// answers, add tabs for windows that have none. In the steady state it costs,
// per tab, one read of the active window, one identity comparison, one
// caption read and one comparison, and allocates nothing.
void frmAddIn::testbooks() {
  host::Application& app = addin_.app();
  ignore_errors([&] {
    if (app.ShowWindowsInTaskbar()) app.ShowWindowsInTaskbar(false);
  });

  const std::int32_t n = wincount;
  for (std::int32_t b = 1; b <= n && b <= wincount; ++b) {
    // A failing read of the active window selects nothing on this pass; it
    // says nothing about this tab's window, so no tab is closed for it.
    host::Ref<host::Window> active;
    ignore_errors([&] { active = app.ActiveWindow(); });
    if (active && active == wins(b) && activeidx != taborder(b)) mdown(taborder(b));
    // A window that no longer answers has closed.
    if (!ignore_errors([&] { wins(b)->Caption(caption_); })) {
      mclose(taborder(b));
      continue;
    }
    if (caption_ != form().Caption(Label2(taborder(b)))) {
      wins(b)->Caption(caption_);
      tabrename(taborder(b), caption_);
    }
  }

  host::Ref<host::Windows> windows = app.Windows();
  const std::int32_t m = windows->Count();
  if (tabcount >= m || tabcount >= kMaxTabs) return;
  for (std::int32_t i = 1; i <= m; ++i) {
    host::Ref<host::Window> w = windows->Item(i);
    bool known = false;
    for (std::int32_t j = 1; j <= tabcount && !known; ++j) known = wins(j) == w;
    if (!known) addbook(w);
  }
}

// Records a new window and creates its tab at the right end. Beyond the
// strip's capacity the window gets no tab. If the tab cannot be built, the
// window is forgotten again, so that the window count stays equal to the tab
// count and the next pass tries anew.
void frmAddIn::addbook(const host::Ref<host::Window>& window) {
  if (wincount >= kMaxTabs) return;
  wincount = wincount + 1;
  wins(wincount) = window;
  try {
    window->Caption(caption_);
    addtab(caption_);
  } catch (...) {
    if (tabcount < wincount) {
      wins(wincount).reset();
      wincount = wincount - 1;
    }
    throw;
  }
}

// Removes the tab of control index `Index` (read once, on entry: the caller
// passes an entry of taborder, which this compacts). Hides its elements,
// moves the tabs to its right one place left, hands the selected look to a
// neighbour and re-aligns an overflowing strip that has room to spare.
//
// The tables are always brought to their new state; a failing call on an
// element only leaves that element where it was, and the first such failure
// is passed on once the tables are consistent.
void frmAddIn::mclose(std::int32_t Index) {
  const std::int32_t i = Index, p = ctlpos(i), n = tabcount;
  std::exception_ptr failure;
  auto visual = [&](auto&& step) {
    try {
      step();
    } catch (...) {
      if (!failure) failure = std::current_exception();
    }
  };
  host::Form& f = form();

  if (i == static_cast<std::int32_t>(activeidx)) {
    const std::int32_t heir = p == n ? taborder(n - 1) : taborder(p + 1);
    visual([&] { f.Picture(Image1(i), host::Picture::face_normal); });
    visual([&] { f.Picture(Image1(heir), host::Picture::none); });
    activeidx = narrow(heir);
  }
  for (host::Element e : {Label2(i), Image3(i), Image2(i), Image1(i)})
    visual([&] { f.Visible(e, false); });

  for (std::int32_t q = p + 1; q <= n; ++q) {
    const std::int32_t t = taborder(q);
    visual([&] {
      float left = 60.0f;
      if (q != 2) left = face_right(taborder(q - 2)) + 30.0f;
      else if (f.Visible(Ileft)) left = f.Left(Ileft) + f.Width(Ileft) + 60.0f;
      tabpos(t, round_half_even(left));
    });
    taborder(q - 1) = taborder(q);
    ctlpos(taborder(q - 1)) = q - 1;
    wins(q - 1) = wins(q);
  }
  tabcount = n - 1;
  wincount = wincount - 1;

  if (tabcount > 0) visual([&] {
    const float r = face_right(taborder(tabcount));
    if (f.Left(Iright) - 2000.0f > r && f.Visible(Ileft)) {
      toright();
      if (f.Left(Ileft) + f.Width(Ileft) < f.Left(Image1(taborder(1)))) {
        set_arrows_visible(false);
        toleft();
      }
    }
  });
  if (failure) std::rethrow_exception(failure);
}

}  // namespace plovera
