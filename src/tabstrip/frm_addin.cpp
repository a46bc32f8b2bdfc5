// The tab-bar form: loading, its background theme, the reset of the strip,
// and the routing of its events.
#include "tabstrip/frm_addin.h"

#include "addin/addin.h"
#include "host/form_design.h"
#include "tabstrip/numbers.h"

namespace plovera {

using host::Part;
using host::Element;
using host::Picture;
using host::Timer;

frmAddIn::frmAddIn(Addin& addin) : addin_(addin) {}
frmAddIn::~frmAddIn() { Unload(); }

std::int16_t frmAddIn::narrow(std::int32_t c) {
  if (c < INT16_MIN || c > INT16_MAX) throw_host_error(status::overflow, "control index");
  return static_cast<std::int16_t>(c);
}

host::Form& frmAddIn::form() {
  if (!form_) throw_host_error(status::unexpected, "frmAddIn not loaded");
  return *form_;
}

host::Hwnd frmAddIn::hWnd() {
  if (!form_) {
    form_ = addin_.host.forms.CreateForm(*this);
    Form_Load();
  }
  return form_->hWnd();
}

void frmAddIn::Show() { form().Show(); }

void frmAddIn::Unload() noexcept { form_.reset(); }

void frmAddIn::enable_mouse_timer() {
  form().TimerInterval(Timer::poll, host::design::mouse_timer_ms);
  form().TimerEnabled(Timer::poll, true);
}

// The bar's background follows Word's version and the Office colour theme.
void frmAddIn::Form_Load() {
  std::u16string ver;
  addin_.app().Version(ver);
  std::uint32_t type = host::reg::type_dword;
  const std::u16string theme = getregvalue(
      host::RegRoot::current_user, u"Software\\Microsoft\\Office\\" + ver + u"\\Common", u"Theme",
      type);
  const double v = version_number(ver);
  const double major = std::trunc(v);
  if (major > 13 && theme != u"1") form().Picture(host::Picture::bar_grey_blue);
  if (major == 12 && theme != u"" && theme != u"1") form().Picture(host::Picture::bar_grey_blue);
  if (v < 12) form().Picture(host::Picture::bar_grey);
  fload();
}

// Resets the strip. The counters and indexes go back to 0 with the tables, so
// a bar started again while the add-in stays loaded begins consistent.
void frmAddIn::fload() {
  taborder = {};
  ctlpos = {};
  tabcount = 0;
  activeidx = hoveridx = closeidx = 0;
  pressidx = 0;
  mousebusy = 0;
  form().Width(13000.0f);
  ctlpos(0) = 0;
  taborder(0) = 0;
  form().Visible(Ileft, false);
  form().Visible(Iright, false);
}

void frmAddIn::create_wins() {
  wins = {};
  wincount = 0;
}

void frmAddIn::release_windows() noexcept {
  wins = {};
  wincount = 0;
  tabcount = 0;
  activeidx = hoveridx = closeidx = 0;
  pressidx = 0;
}

void frmAddIn::set_arrows_visible(bool visible) {
  form().Visible(Ileft, visible);
  form().Visible(Iright, visible);
}

void frmAddIn::foreground_to_word() { addin_.ws().bring_to_foreground(addin_.wordhwnd); }

void frmAddIn::mouseTimer_Timer() {
  addin_.checkdock();
  testmouse();
  testbooks();
}

void frmAddIn::leftTimer_Timer() { moveleft(); }
void frmAddIn::rightTimer_Timer() { moveright(); }

void frmAddIn::TimerTick(Timer t) {
  run_event([&] {
    switch (t) {
      case Timer::poll: return mouseTimer_Timer();
      case Timer::scroll_left: return leftTimer_Timer();
      case Timer::scroll_right: return rightTimer_Timer();
    }
  });
}

namespace {
bool is_tab_body(Part c) { return c == Part::face || c == Part::icon || c == Part::caption; }
}  // namespace

void frmAddIn::MouseDown(Element e, std::int16_t button) {
  run_event([&] {
    if (e.part == Part::bar) foreground_to_word();
    if (button == host::kRightButton) return addin_.showmenu();
    if (button != host::kLeftButton) return;
    if (e.part == Part::left_arrow) form().TimerEnabled(Timer::scroll_left, true);
    if (e.part == Part::right_arrow) form().TimerEnabled(Timer::scroll_right, true);
    if (is_tab_body(e.part)) pressidx = e.index;
  });
}

void frmAddIn::MouseMove(Element e, std::int16_t /*button*/) {
  run_event([&] {
    if (is_tab_body(e.part)) return MouseM(e.index);
    if (e.part == Part::close_button) {
      mmove(e.index);
      return cmmove(e.index);
    }
    mmove(0);
    cmove();
  });
}

// The release of an arrow reaches it even when the pointer has left it (the
// engine keeps the capture), so a held scroll always stops.
void frmAddIn::MouseUp(Element e, std::int16_t /*button*/) {
  run_event([&] {
    if (e.part == Part::left_arrow || e.part == Part::right_arrow) {
      form().TimerEnabled(e.part == Part::left_arrow ? Timer::scroll_left : Timer::scroll_right, false);
      return foreground_to_word();
    }
    if (is_tab_body(e.part)) pressidx = 0;
  });
}

void frmAddIn::Click(Element e) {
  run_event([&] {
    if (e.part == Part::bar) return foreground_to_word();
    if (is_tab_body(e.part)) return activate_tab(e.index);
    if (e.part == Part::close_button) return request_close(e.index);
  });
}

void frmAddIn::DblClick(Element e) {
  run_event([&] {
    if (e.part == Part::bar || is_tab_body(e.part)) foreground_to_word();
  });
}

// The Word window of a tab comes to the front; the tab becomes the selected
// one on the next synchronisation pass, which sees Word's new active window.
void frmAddIn::activate_tab(std::int32_t c) {
  host::Ref<host::Window> w = wins(ctlpos(c));
  w->Activate();
  w->Activate();
  foreground_to_word();
}

// Asks Word to close the tab's window, with Word's defaults (its own save
// prompt). The tab goes when a later pass finds the window gone.
void frmAddIn::request_close(std::int16_t i) {
  foreground_to_word();
  host::Ref<host::Window> w;
  ignore_errors([&] { w = wins(ctlpos(i)); });
  if (w) ignore_errors([&] { w->Close(); });
}

std::string frmAddIn::check_invariants() {
  if (!form_) return {};
  host::Form& f = *form_;
  if (wincount != tabcount) return "wincount differs from tabcount";
  if (tabcount < 0 || tabcount > kMaxTabs) return "tabcount out of range";
  std::vector<bool> in_strip(static_cast<std::size_t>(f.Count(Part::caption)) + 1, false);
  for (std::int32_t p = 1; p <= tabcount; ++p) {
    const std::int32_t c = taborder(p);
    if (c < 1 || c >= f.Count(Part::caption)) return "taborder names no loaded tab at " + std::to_string(p);
    if (ctlpos(c) != p) return "ctlpos(taborder(p)) != p at " + std::to_string(p);
    in_strip[static_cast<std::size_t>(c)] = true;
    for (Element e : {Label2(c), Image1(c), Image2(c), Image3(c)})
      if (!f.Visible(e)) return "a part of the tab at " + std::to_string(p) + " is hidden";
    if (!wins(p)) return "no window at " + std::to_string(p);
    if (p > 1 && f.Left(Image1(c)) != face_right(taborder(p - 1)) + 30.0f)
      return "faces not 30 twips apart at " + std::to_string(p);
  }
  for (std::int32_t c = 1; c < f.Count(Part::caption); ++c) {
    if (in_strip[static_cast<std::size_t>(c)]) continue;
    for (Element e : {Label2(c), Image1(c), Image2(c), Image3(c)})
      if (f.Visible(e)) return "element of free index " + std::to_string(c) + " is visible";
  }
  for (std::int32_t idx : {std::int32_t{activeidx}, std::int32_t{hoveridx},
                           std::int32_t{closeidx}, pressidx})
    if (idx < 0 || idx >= f.Count(Part::caption)) return "an index variable names no control";
  return {};
}

}  // namespace plovera
